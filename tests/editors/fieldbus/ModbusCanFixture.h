#pragma once
// The Modbus master, CAN frame and DMX windows on a fresh program state: English texts, a
// project folder in a temporary directory, fake dialogs. A window is opened as the main
// window would open it, by showing it.

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

#include <functional>
#include <memory>

namespace zfw::test {

// One of the windows under test: how to make it and the path global of its file.
struct EditorWindow {
    std::function<std::unique_ptr<TRuleEditorFrame>(const RuleEditorContext&)> make;
    QString ProgramState::*file = nullptr;
};

class ModbusCanTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_ParGen = path(QStringLiteral("ParGen.xml"));
        s.File_ModbusM_SetAccess = path(QStringLiteral("ModbusM_SetAccess.xml"));
        s.File_ModbusTCPM_SetAccess = path(QStringLiteral("ModbusTCPM_SetAccess.xml"));
        s.File_CAN_Rec_Frames = path(QStringLiteral("CAN_Rec_Frames.xml"));
        s.File_CAN_Send_Frames = path(QStringLiteral("CAN_Send_Frames.xml"));
        s.File_DMX_Default_Values = path(QStringLiteral("DMX_Default_Values.xml"));
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
    std::unique_ptr<TRuleEditorFrame> open(const EditorWindow& w)
    {
        std::unique_ptr<TRuleEditorFrame> f = w.make(context());
        reopen(*f);
        return f;
    }
    // Shows the window again, which opens it; the messages of earlier steps are forgotten.
    void reopen(TRuleEditorFrame& f)
    {
        m_fakes.dialogs.messages.clear();
        f.hide();
        f.show();
    }
    static QString fileOf(const EditorWindow& w) { return programState().*(w.file); }

    static void click(TRuleEditorFrame& f, const char* name)
    {
        auto* b = f.findChild<QAbstractButton*>(QLatin1String(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    // Types text into cell (DCol, ARow) as a user does: the first character opens the
    // editor, Enter commits.
    static void typeInto(TRuleEditorFrame& f, TExtStringGrid* g, int DCol, int ARow,
                         const QString& text)
    {
        QApplication::setActiveWindow(&f);
        g->setFocus();
        g->MoveCurrentCell(DCol, ARow, true, true);
        QTest::keyClicks(g, text.left(1));
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, text.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        QApplication::processEvents();
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

inline QString fieldbusGolden(const char* file)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/fieldbus/") + QString::fromLatin1(file);
}

}  // namespace zfw::test
