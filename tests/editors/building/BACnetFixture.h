#pragma once
// The BACnet windows on a fresh program state: English texts, a project folder in a
// temporary directory, fake dialogs. Windows open as the main window opens them, by showing
// them, which runs their opening.

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "grid/ColumnGrid.h"
#include "ruleedit/URuleEditorFrame.h"
#include "support/FakeServices.h"
#include "support/Files.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QTest>

#include <memory>

namespace zfw::test {

inline QString bacnetData(const char* file)
{
    return QStringLiteral(ZFW_TEST_DATA_DIR "/bacnet/") + QString::fromLatin1(file);
}

class BACnetWindowTest : public TempStateTest {
protected:
    void SetUp() override
    {
        TempStateTest::SetUp();
        ProgramState& s = programState();
        Fill_Default_Language(s);
        s.Dir_Project = root();
        s.File_ParGen = path(QStringLiteral("ParGen.xml"));
        s.File_BACnet_Master_Access = path(QStringLiteral("BACnet_Master_Access.xml"));
        s.File_BACnet_Slave_SetAccess = path(QStringLiteral("BACnet_Slave_SetAccess.xml"));
    }

    void writeParGen(const QByteArray& inner)
    {
        ASSERT_TRUE(writeFile(programState().File_ParGen, "<Par_Gen>" + inner + "</Par_Gen>"));
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
    void reopen(TRuleEditorFrame& f)
    {
        m_fakes.dialogs.messages.clear();
        f.hide();
        f.show();
    }
    // Clicks the window's own button of that name, not one of a sub-dialog it owns.
    static void click(QWidget& f, const char* name)
    {
        QAbstractButton* b = nullptr;
        for (QAbstractButton* candidate : f.findChildren<QAbstractButton*>(QLatin1String(name)))
            if (candidate->window() == &f)
                b = candidate;
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QStringList messageTexts() const
    {
        QStringList out;
        for (const ShownMessage& m : m_fakes.dialogs.messages)
            out.append(m.text);
        return out;
    }
    // Writes texts into row r by attribute.
    static void setCells(TRuleEditorFrame& f, int table, int r,
                         std::initializer_list<std::pair<const char*, const char*>> cells)
    {
        const RuleTableSpec& spec = f.layout().tables[table];
        for (const auto& [attribute, text] : cells)
            f.gridOf(table)->SetCellEx(spec.col(QString::fromLatin1(attribute)), r,
                                       QString::fromUtf8(text));
    }
    static QString cellOf(TRuleEditorFrame& f, int table, const char* attribute, int r)
    {
        return f.gridOf(table)->GetCellEx(f.layout().tables[table].col(
                                              QString::fromLatin1(attribute)),
                                          r);
    }

    ScopedFakeServices m_fakes;
};

}  // namespace zfw::test
