// The SNMP manager window: its opening, the file through open and OK, a check fault shown with
// nothing written, the list ending at the first empty IP Address, and broken files.

#include "editors/iot/USNMPManagerAccess.h"

#include "SnmpWindowFixture.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

namespace zfw {
namespace {

class SnmpManagerWindow : public test::SnmpWindowTest {
protected:
    QByteArray file() const { return test::readFile(programState().File_SNMP_Manager); }
    // A valid version 2 request in row r with its own OID.
    static void request(TRuleGrid* g, int r, const QString& oid)
    {
        setCells(g, r,
                 {{2, QStringLiteral("127.0.0.1")},
                  {3, QStringLiteral("2")},
                  {5, oid},
                  {13, QStringLiteral("4")},
                  {14, QStringLiteral("None")}});
    }
};

TEST_F(SnmpManagerWindow, OpensWith512EnabledEmptyRequests)
{
    auto f = open<TFSNMPManagerAccess>();
    TRuleGrid* g = f->ACG_SNMP;
    ASSERT_NE(g, nullptr);
    EXPECT_EQ(f->objectName(), QStringLiteral("TFSNMPManagerAccess"));
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Set SNMP Manager Access"));
    EXPECT_EQ(g->RowCount(), 513);
    EXPECT_EQ(g->ColCount(), 23);
    EXPECT_EQ(g->GetCellEx(1, 512), QStringLiteral("Y"));
    EXPECT_EQ(g->GetCellEx(2, 512), QString());
    EXPECT_EQ(g->Columns().GetItem(5)->Header(), QStringLiteral("OID"));
    const QStringList positions = g->Columns().GetItem(12)->ComboItems();
    ASSERT_EQ(positions.size(), 1440);
    EXPECT_EQ(positions.last(), QStringLiteral("1439"));
    EXPECT_EQ(g->Columns().GetItem(19)->ComboItems(),
              (QStringList{"NoAuth NoPriv", "Auth NoPriv", "Auth Priv"}));
    ASSERT_EQ(f->Hint_SNMP().size(), 22);
    EXPECT_EQ(f->Hint_SNMP().value(20),
              QStringLiteral("Select the Privacy Mode (only if Security Level is set to \"Auth "
                             "Priv\""));
    EXPECT_FALSE(f->Do_Copy_SNMP());
    EXPECT_TRUE(messageTexts().isEmpty());
}

TEST_F(SnmpManagerWindow, OpenThenOkWritesTheSameBytes)
{
    const QByteArray original = test::readFile(
        QStringLiteral(ZFW_TEST_DATA_DIR "/snmp/SNMP_Manager.xml"));
    ASSERT_FALSE(original.isEmpty());
    ASSERT_TRUE(test::writeFile(programState().File_SNMP_Manager, original));
    auto f = open<TFSNMPManagerAccess>();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->ACG_SNMP->GetCellEx(11, 3), QStringLiteral("$10"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(file().toStdString(), original.toStdString());
}

TEST_F(SnmpManagerWindow, DuplicateRowsAreShownAndNothingIsWritten)
{
    auto f = open<TFSNMPManagerAccess>();
    for (int r = 1; r <= 7; ++r)
        request(f->ACG_SNMP, r, QStringLiteral("1.3.6.1.%1").arg(r));
    setCells(f->ACG_SNMP, 7, {{5, QStringLiteral("1.3.6.1.2")}, {7, QStringLiteral("Set")}});
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(),
              QStringList{"Error in rows 2 and 7!! Same IP Address, Version and OID used"});
    EXPECT_FALSE(QFile::exists(programState().File_SNMP_Manager));
    EXPECT_NE(f->result(), mrOk);
    // With row 7 disabled the same pair passes.
    toggle(*f, f->ACG_SNMP, 1, 7);
    EXPECT_EQ(f->ACG_SNMP->GetCellEx(1, 7), QStringLiteral("N"));
    m_fakes.dialogs.messages.clear();
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(file().count("<row "), 7);
}

// Row 5 left without an IP Address: rows 6 and later are neither checked nor written (after
// the user agreed), and are empty at the next opening.
TEST_F(SnmpManagerWindow, EmptyAddressEndsTheList)
{
    auto f = open<TFSNMPManagerAccess>();
    for (int r = 1; r <= 6; ++r)
        request(f->ACG_SNMP, r, QStringLiteral("1.3.%1").arg(r));
    f->ACG_SNMP->SetCellEx(2, 5, QStringLiteral("  "));
    f->ACG_SNMP->SetCellEx(5, 6, QStringLiteral("not an OID"));
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    ASSERT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(m_fakes.dialogs.messages[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(file().count("<row "), 4);
    reopen(*f);
    EXPECT_EQ(f->ACG_SNMP->GetCellEx(5, 4), QStringLiteral("1.3.4"));
    EXPECT_EQ(f->ACG_SNMP->GetCellEx(5, 6), QString());
}

QByteArray manyRows(int n)
{
    QByteArray out = "<SNMP_Manager_Access>";
    for (int i = 0; i < n; ++i)
        out += "<row IP_Address=\"10.0.0.1\" OID=\"1." + QByteArray::number(i) + "\"/>";
    return out + "</SNMP_Manager_Access>";
}

const test::BadFileCase kBadFiles[] = {
    {"NotWellFormed", "<SNMP_Manager_Access><row IP_Address=\"1", true, "SNMP_Manager.xml"},
    {"NoElement", "<!-- -->", true, "SNMP_Manager.xml"},
    {"ControlCharacter", "<SNMP_Manager_Access><row OID=\"1&#1;\"/></SNMP_Manager_Access>", true,
     "SNMP_Manager.xml"},
    {"TenThousandRows", manyRows(10000), true, "9488"},
    {"MissingAttributesTakeDefaults",
     "<SNMP_Manager_Access><other IP_Address=\"10.0.0.1\"/></SNMP_Manager_Access>", false},
    {"NotUtf8",
     "<SNMP_Manager_Access><row IP_Address=\"10.0.0.1\" Mnemonic=\"caf\xe9\"/>"
     "</SNMP_Manager_Access>",
     false},
    {"HostileOid",
     "<SNMP_Manager_Access><row IP_Address=\"10.0.0.1\" OID=\"" + QByteArray(10000, '9')
         + "\"/></SNMP_Manager_Access>",
     false},
};

class SnmpManagerBadFile : public SnmpManagerWindow,
                           public ::testing::WithParamInterface<test::BadFileCase> {};

TEST_P(SnmpManagerBadFile, NamedAndNotOverwrittenWithoutYes)
{
    const test::BadFileCase& c = GetParam();
    ASSERT_TRUE(test::writeFile(programState().File_SNMP_Manager, c.bytes));
    auto f = open<TFSNMPManagerAccess>();
    if (!c.warned) {
        EXPECT_EQ(messageTexts(), QStringList());
        EXPECT_EQ(f->ACG_SNMP->GetCellEx(1, 1), QStringLiteral("Y"));
        EXPECT_EQ(f->ACG_SNMP->GetCellEx(14, 1), QStringLiteral("None"));
        return;
    }
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QString::fromUtf8(c.names)))
        << messageTexts()[0].left(300).toStdString();
    // Nothing left in the grid to refuse: OK asks, and No keeps the file.
    for (int r = 1; r < f->ACG_SNMP->RowCount(); ++r)
        f->ACG_SNMP->SetCellEx(1, r, QStringLiteral("N"));
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(file(), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, SnmpManagerBadFile, ::testing::ValuesIn(kBadFiles),
                         test::CaseName());

}  // namespace
}  // namespace zfw
