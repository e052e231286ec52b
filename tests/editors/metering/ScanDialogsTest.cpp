// The three scan dialogs as a user fills them: the key typed in lower case, the start
// register in decimal and hexadecimal, and the per-node rows with the first faulty one named.

#include "editors/metering/UScanDialogs.h"

#include "common/UComon.h"
#include "common/ULanguage.h"
#include "support/FakeServices.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class ScanDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetProgramState();
        programState().SW_Code = QString::fromLatin1(Build_SW_Code);
        Fill_Default_Language(programState());
    }
    void TearDown() override { resetProgramState(); }
    QString text(int n) const { return programState().lang(n); }
    QStringList messages() const
    {
        QStringList l;
        for (const auto& m : fakes.dialogs.messages)
            l.append(m.text);
        return l;
    }

    test::ScopedFakeServices fakes;
};

struct KeyCase {
    const char* name;
    const char* typed;
    int refusal;  // 0: closes with OK
};

const KeyCase kKeys[] = {
    {"ThirtyOneCharacters", "0123456789abcdef0123456789abcde", 2304},
    {"LetterG", "0123456789ABCDEF0123456789ABCDEG", 2303},
    {"LowerCaseTurnsUpper", "0123456789abcdef0123456789abcdef", 0},
    {"Empty", "", 2304},
    {"ThirtyThreeCutToThirtyTwo", "0123456789ABCDEF0123456789ABCDEF0", 0},
};

class KeyDialog : public ScanDialogs, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyDialog, ChecksLengthThenCharacters)
{
    const KeyCase& c = GetParam();
    TFInsertKeyWireless dialog(nullptr, &fakes.dialogs);
    EXPECT_EQ(dialog.size(), QSize(481, 47));
    EXPECT_EQ(dialog.L_InsKey->text(), QStringLiteral("Insert Key (HEX)"));
    QTest::keyClicks(dialog.E_Key, QString::fromLatin1(c.typed));
    EXPECT_EQ(dialog.E_Key->text(), QString::fromLatin1(c.typed).toUpper().left(32));
    dialog.Btn_OK->click();
    if (c.refusal == 0) {
        EXPECT_TRUE(messages().isEmpty());
        EXPECT_EQ(dialog.result(), int(mrOk));
    } else {
        EXPECT_EQ(messages(), QStringList{text(c.refusal)});
        EXPECT_EQ(dialog.result(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyDialog, ::testing::ValuesIn(kKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScanDialogs, StartRegisterTakesOneTo65535)
{
    TFScanModbusStart dialog(nullptr, &fakes.dialogs);
    EXPECT_EQ(dialog.size(), QSize(331, 162));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Start Modbus Register"));
    EXPECT_EQ(dialog.L_SW_Code->text(), QStringLiteral("SCAN & DECODE"));
    for (const char* bad : {"0", "65536", "abc"}) {
        dialog.E_StartModAdd->setText(QString::fromLatin1(bad));
        dialog.Btn_OK->click();
        EXPECT_EQ(dialog.result(), 0) << bad;
    }
    EXPECT_EQ(messages(), QStringList(3, text(2206)));
    const struct {
        const char* typed;
        int value;
    } good[] = {{"1", 1}, {"65535", 65535}, {"$FFFF", 65535}, {"0x10", 16}};
    for (const auto& g : good) {
        dialog.setResult(0);
        dialog.E_StartModAdd->setText(QString::fromLatin1(g.typed));
        dialog.Btn_OK->click();
        EXPECT_EQ(dialog.result(), int(mrOk)) << g.typed;
        EXPECT_EQ(dialog.StartModAdd, g.value) << g.typed;
    }
}

TEST_F(ScanDialogs, PerNodeStartNamesTheFirstFaultyRow)
{
    TFModbusStartAdd_SD dialog(nullptr, &fakes.dialogs);
    EXPECT_EQ(dialog.size(), QSize(511, 336));
    EXPECT_EQ(dialog.CB_En_NodeState->text(), QStringLiteral("Enable Node State"));
    dialog.Btn_OK->click();  // no data rows: accepted at once
    EXPECT_EQ(dialog.result(), int(mrOk));

    dialog.setResult(0);
    dialog.setNodes({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")});
    EXPECT_EQ(dialog.startRegisters(), (std::vector<QString>{"1", "1", "1"}));
    dialog.setStartRegister(1, QStringLiteral("100"));
    dialog.setStartRegister(2, QString());
    dialog.setStartRegister(3, QStringLiteral("60000"));
    dialog.Btn_OK->click();
    EXPECT_EQ(dialog.result(), 0);
    dialog.setStartRegister(2, QStringLiteral("200"));
    dialog.Btn_OK->click();
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(messages(), (QStringList{text(2408) + QStringLiteral("2") + text(2409),
                                       text(2408) + QStringLiteral("3") + text(2410)}));
    dialog.setStartRegister(3, QStringLiteral("$100"));
    dialog.Btn_OK->click();
    EXPECT_EQ(dialog.result(), int(mrOk));
}

}  // namespace
}  // namespace zfw
