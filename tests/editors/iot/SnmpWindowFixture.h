#pragma once
// The SNMP manager and agent windows on a fresh program state: English texts, the project
// files in a temporary folder, fake dialogs. Windows are opened by showing them, as the main
// window does.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/ColumnGrid.h"
#include "ruleedit/URuleEditorFrame.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <memory>

namespace zfw::test {

class SnmpWindowTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_SNMP_Manager = path(QStringLiteral("SNMP_Manager.xml"));
        s.File_SNMP_Trap = path(QStringLiteral("SNMP_Trap.xml"));
    }

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
    // Shows the window again; the messages of earlier steps are forgotten first.
    void reopen(TRuleEditorFrame& f)
    {
        m_fakes.dialogs.messages.clear();
        f.hide();
        f.show();
    }
    static void click(TRuleEditorFrame& f, const char* name)
    {
        auto* b = f.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // Space on a check-box cell toggles it, as a user does.
    static void toggle(TRuleEditorFrame& f, TRuleGrid* g, int DCol, int ARow)
    {
        QApplication::setActiveWindow(&f);
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClick(g, Qt::Key_Space);
    }
    // Writes cells of row r by real column.
    static void setCells(TRuleGrid* g, int r, const std::vector<std::pair<int, QString>>& cells)
    {
        for (const auto& [c, text] : cells)
            g->SetCellEx(c, r, text);
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

// Project files that are broken or unusual, each opened in the window: what the window cannot
// show is told in a warning, and OK asks before it writes over the file.
struct BadFileCase {
    std::string name;
    QByteArray bytes;
    bool warned;                  // the opening warns and OK asks first
    const char* names = nullptr;  // what the warning names (the file, the table, the count)
};

}  // namespace zfw::test
