#pragma once
// A rule editor window on a fresh program state: English texts, a project folder in a
// temporary directory, fake dialogs. Windows are opened as the main window does, by showing
// them, which runs their opening.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "config/ULoRa_Set_Access.h"
#include "config/US7_Protocol_Set_Access.h"
#include "grid/ColumnGrid.h"
#include "support/CaseName.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <memory>

namespace zfw::test {

// Writes texts into row r from column 1 on.
inline void setRow(TRuleGrid* g, int r, const QStringList& cells)
{
    for (int i = 0; i < cells.size(); ++i)
        g->SetCellEx(i + 1, r, cells[i]);
}

// Columns 1 to the last of row r, hidden ones included.
inline QStringList row(const TRuleGrid* g, int r)
{
    QStringList out;
    for (int c = 1; c < g->store().AllColCount(); ++c)
        out.append(g->GetCellEx(c, r));
    return out;
}

class RuleEditorTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_ParGen = path(QStringLiteral("ParGen.xml"));
        s.File_LoRaWAN_SetAccess = path(QStringLiteral("LoRaWAN_SetAccess.xml"));
        s.File_S7_Protocol = path(QStringLiteral("S7_Protocol.xml"));
    }

    static void writeParGen(int payload, bool variableFPort)
    {
        const QByteArray xml = "<Par_Gen><LoRa_Payload_Size>" + QByteArray::number(payload)
                               + "</LoRa_Payload_Size><LoRa_FPort>"
                               + (variableFPort ? "Variable" : "Fixed") + "</LoRa_FPort></Par_Gen>";
        ASSERT_TRUE(writeFile(programState().File_ParGen, xml));
    }

    // Shows the window, which opens it; the messages of earlier steps are forgotten first.
    // The editors' view of this test's program state and fake dialogs.
    RuleEditorContext context()
    {
        return {&programState(), QStringLiteral("CODE"), &m_fakes.dialogs};
    }

    template <class Form>
    std::unique_ptr<Form> open()
    {
        auto f = std::make_unique<Form>(context());
        reopen(*f);
        return f;
    }
    void reopen(TRuleEditorFrame& f)
    {
        m_fakes.dialogs.messages.clear();
        f.hide();
        f.show();
    }

    static QAbstractButton* button(TRuleEditorFrame& f, const char* name)
    {
        auto* b = f.findChild<QAbstractButton*>(QLatin1String(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    static void click(TRuleEditorFrame& f, const char* name)
    {
        if (QAbstractButton* b = button(f, name))
            QTest::mouseClick(b, Qt::LeftButton);
    }

    // Types text into cell (DCol, ARow) of g as a user does: the cell made current, the
    // characters typed into the grid (the first opens the editor), Enter to commit.
    static void typeInto(TRuleEditorFrame& f, TRuleGrid* g, int DCol, int ARow, const QString& text)
    {
        QApplication::setActiveWindow(&f);
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClicks(g, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
    }
    // Space on a check-box cell toggles it.
    static void toggle(TRuleEditorFrame& f, TRuleGrid* g, int DCol, int ARow)
    {
        QApplication::setActiveWindow(&f);
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClick(g, Qt::Key_Space);
    }

    QStringList messageTexts() const
    {
        QStringList out;
        for (const ShownMessage& m : m_fakes.dialogs.messages)
            out.append(m.text);
        return out;
    }

    ScopedFakeServices m_fakes;
};

// A valid S7 rule, columns 1 to 13 (Enable to Poll Time), then Position and Start Bit.
inline QStringList s7Rule(const QString& address = QStringLiteral("192.168.1.10"),
                          const QString& port = QStringLiteral("102"))
{
    return {"Y",  address, port,         "S71200", "0", "1",   "Word",
            "DB", "1",     "Inputs (I)", "0",      "0", "1000"};
}

}  // namespace zfw::test
