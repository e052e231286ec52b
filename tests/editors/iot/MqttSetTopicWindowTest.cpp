// The MQTT topics window: its two pages with the hidden columns set at each opening, the file
// through open and OK, the columns the file does not keep, Insert on the page shown, the
// template dialog on a double click with line breaks kept through the file, and broken files.

#include "editors/iot/UMQTT_Set_Topic.h"

#include "ServerWindowFixture.h"
#include "editors/iot/UTopicTemplate.h"
#include "grid/ExtGrid.h"
#include "support/CaseName.h"

#include <QPlainTextEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace zfw {
namespace {

class MqttSetTopicWindow : public test::ServerWindowTest {
protected:
    QByteArray file() const { return test::readFile(programState().File_MQTT_Set_Topic); }
    static QByteArray golden() { return ServerWindowTest::golden("mqtt/MQTT_Set_Topic.xml"); }
    void openGolden()
    {
        ASSERT_TRUE(test::writeFile(programState().File_MQTT_Set_Topic, golden()));
    }
    static std::vector<int> hiddenColumns(TRuleGrid* g)
    {
        std::vector<int> out;
        for (int c = 0; c < g->store().AllColCount(); ++c)
            if (g->IsHiddenColumn(c))
                out.push_back(c);
        return out;
    }
    // The display column that shows real column ACol.
    static int displayOf(TRuleGrid* g, int ACol)
    {
        for (int d = 0; d < g->ColCount(); ++d)
            if (g->RealColIndex(d) == ACol)
                return d;
        return -1;
    }
    // A double click as the grid reports it, on a data cell given by its real column.
    static void doubleClick(TFMQTT_Set_Topic& f, TRuleGrid* g, int ACol, int ARow)
    {
        g->MoveCurrentCell(displayOf(g, ACol), ARow, true, true);
        f.DblClickCell(g, ARow, displayOf(g, ACol));
    }
};

TEST_F(MqttSetTopicWindow, OpensWithTwoPagesAndTheirHiddenColumns)
{
    auto f = open<TFMQTT_Set_Topic>();
    ASSERT_NE(f->ACG_Pub, nullptr);
    render(*f, "TFMQTT_Set_Topic");
    EXPECT_EQ(f->windowTitle(), QStringLiteral("Set MQTT Topics"));
    EXPECT_EQ(f->PageControl1->tabText(0), QStringLiteral("MQTT Publish"));
    EXPECT_EQ(f->PageControl1->tabText(1), QStringLiteral("MQTT Subscribe"));
    EXPECT_EQ(f->activeTable(), 0);
    EXPECT_EQ(f->ACG_Pub->RowCount(), 1025);
    EXPECT_EQ(f->ACG_Sub->RowCount(), 1025);
    EXPECT_EQ(f->ACG_Pub->store().AllColCount(), 18);
    EXPECT_EQ(f->ACG_Sub->store().AllColCount(), 15);
    EXPECT_EQ(hiddenColumns(f->ACG_Pub), (std::vector<int>{7, 8, 11, 14, 15, 16}));
    EXPECT_EQ(hiddenColumns(f->ACG_Sub), (std::vector<int>{2, 7, 8, 9, 10, 12, 13}));
    EXPECT_EQ(f->Hint_MQTT_Set_Topic_Pub().size(), 17);
    EXPECT_EQ(f->Hint_MQTT_Set_Topic_Sub().size(), 14);
    EXPECT_EQ(f->Hint_MQTT_Set_Topic_Pub().value(12),
              QStringLiteral("Insert then Timer in milliseconds between two Publish"));
    EXPECT_EQ(f->ACG_Pub->Columns().GetItem(14)->ComboItems().size(), 65);
    EXPECT_EQ(f->ACG_Pub->GetCellEx(1, 1024), QString());
    // A header's hint is the grid's own entry for the real column under the mouse.
    QString hint;
    f->GridHint(f->ACG_Pub, 0, displayOf(f->ACG_Pub, 12), hint);
    EXPECT_EQ(hint, QStringLiteral("Enable/Disabel the Possibility to Publish the Data at Timer"));
    f->GridHint(f->ACG_Sub, 0, displayOf(f->ACG_Sub, 11), hint);
    EXPECT_EQ(hint, QStringLiteral("Insert the Template"));
    f->GridHint(f->ACG_Sub, 1, displayOf(f->ACG_Sub, 11), hint);
    EXPECT_EQ(hint, QString());

    // A column shown by hand is hidden again at the next opening.
    f->ACG_Pub->UnHideColumn(11);
    f->ACG_Sub->UnHideColumn(2);
    f->setActiveTable(1);
    reopen(*f);
    EXPECT_EQ(hiddenColumns(f->ACG_Pub), (std::vector<int>{7, 8, 11, 14, 15, 16}));
    EXPECT_EQ(hiddenColumns(f->ACG_Sub), (std::vector<int>{2, 7, 8, 9, 10, 12, 13}));
    EXPECT_EQ(f->activeTable(), 0);
}

TEST_F(MqttSetTopicWindow, OpenThenOkWritesTheSameBytes)
{
    openGolden();
    auto f = open<TFMQTT_Set_Topic>();
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->ACG_Pub->GetCellEx(9, 1), QStringLiteral("{\n  \"t\": $VALUE$\n}"));
    EXPECT_EQ(f->ACG_Pub->GetCellEx(9, 3), QStringLiteral("a$VALUE$b\r\n$ID$"));
    click(*f, "Btn_OK");
    EXPECT_EQ(messageTexts(), QStringList());
    EXPECT_EQ(f->result(), mrOk);
    EXPECT_EQ(file().toStdString(), golden().toStdString());
}

// OnCMD, Channel, Swap and Swap Word are not in the file: every topic the file gives comes
// back with OnCMD and Channel empty and Swap and Swap Word "N"; the rows below stay empty.
TEST_F(MqttSetTopicWindow, UnstoredColumnsComeBackEmptyOrN)
{
    openGolden();
    auto f = open<TFMQTT_Set_Topic>();
    setCells(f->ACG_Pub, 1, {{11, "Y"}, {14, "All"}, {15, "Y"}, {16, "N"}});
    setCells(f->ACG_Sub, 1, {{12, "Y"}, {13, "Y"}});
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts(), QStringList());
    EXPECT_FALSE(file().contains("OnCMD"));
    EXPECT_FALSE(file().contains("Swap"));
    EXPECT_FALSE(file().contains("Channel"));
    reopen(*f);
    for (int r : {1, 2, 3}) {
        EXPECT_EQ(f->ACG_Pub->GetCellEx(11, r), QString()) << r;
        EXPECT_EQ(f->ACG_Pub->GetCellEx(14, r), QString()) << r;
        EXPECT_EQ(f->ACG_Pub->GetCellEx(15, r), QStringLiteral("N")) << r;
        EXPECT_EQ(f->ACG_Pub->GetCellEx(16, r), QStringLiteral("N")) << r;
    }
    EXPECT_EQ(f->ACG_Sub->GetCellEx(12, 1), QStringLiteral("N"));
    EXPECT_EQ(f->ACG_Sub->GetCellEx(13, 1), QStringLiteral("N"));
    EXPECT_EQ(f->ACG_Pub->GetCellEx(15, 4), QString());
    EXPECT_EQ(f->ACG_Sub->GetCellEx(12, 2), QString());
}

TEST_F(MqttSetTopicWindow, InsertOnThePageShownLeavesAnEmptyRow)
{
    openGolden();
    auto f = open<TFMQTT_Set_Topic>();
    f->ACG_Pub->MoveCurrentCell(1, 2, true, true);
    click(*f, "Btn_InsRow");
    for (int c = 1; c < 18; ++c)
        EXPECT_EQ(f->ACG_Pub->GetCellEx(c, 2), QString()) << c;
    EXPECT_EQ(f->ACG_Pub->GetCellEx(1, 3), QStringLiteral("plant/pump/state"));
    EXPECT_EQ(f->ACG_Sub->GetCellEx(1, 1), QStringLiteral("plant/setpoint"));
    EXPECT_EQ(f->ACG_Sub->GetCellEx(1, 2), QString());

    f->setActiveTable(1);
    f->ACG_Sub->MoveCurrentCell(1, 1, true, true);
    click(*f, "Btn_InsRow");
    EXPECT_EQ(f->ACG_Sub->GetCellEx(1, 1), QString());
    EXPECT_EQ(f->ACG_Sub->GetCellEx(1, 2), QStringLiteral("plant/setpoint"));
    EXPECT_EQ(f->ACG_Pub->GetCellEx(1, 3), QStringLiteral("plant/pump/state"));
}

// A template of several lines is shown in the dialog as it stands; what the user leaves there
// on OK, line breaks included, goes into the cell, the file and the next opening.
TEST_F(MqttSetTopicWindow, TemplateDialogKeepsLineBreaksThroughTheFile)
{
    openGolden();
    auto f = open<TFMQTT_Set_Topic>();
    QString shown;
    QString caption;
    const QString typed = QStringLiteral("{\n  \"v\": $VALUE$,\n  \"u\": \"$UNIT$\"\n}\n");
    m_fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& t = dynamic_cast<TFTopicTemplate&>(d);
        t.show();
        caption = t.windowTitle();
        shown = t.RE_TopicTemplate->toPlainText();
        render(t, "TFTopicTemplate");
        t.RE_TopicTemplate->setPlainText(typed);
        t.hide();
        return mrOk;
    };
    doubleClick(*f, f->ACG_Pub, 9, 1);
    EXPECT_EQ(m_fakes.dialogs.shownForms, QStringList{"TFTopicTemplate"});
    EXPECT_EQ(caption, QStringLiteral("Set Template"));
    EXPECT_EQ(shown, QStringLiteral("{\n  \"t\": $VALUE$\n}"));
    EXPECT_EQ(f->FTopicTemplate->TopicTemplate, 1);
    EXPECT_EQ(f->FTopicTemplate->Pub_Sub, 0);
    EXPECT_EQ(f->FTopicTemplate->ESG_Keywords->RowCount(), 2);
    EXPECT_EQ(f->ACG_Pub->GetCellEx(9, 1), typed);

    // Carriage return and line feed stay as they were typed.
    doubleClick(*f, f->ACG_Pub, 9, 3);
    EXPECT_EQ(f->ACG_Pub->GetCellEx(9, 3), QString(typed).replace("\n", "\r\n"));

    // The subscribe grid's template is its real column 11; Cancel leaves the cell alone.
    m_fakes.dialogs.onShowModal = [&](QDialog& d) {
        auto& t = dynamic_cast<TFTopicTemplate&>(d);
        t.RE_TopicTemplate->setPlainText(QStringLiteral("dropped"));
        return mrCancel;
    };
    f->setActiveTable(1);
    doubleClick(*f, f->ACG_Sub, 11, 1);
    EXPECT_EQ(f->FTopicTemplate->Pub_Sub, 1);
    EXPECT_EQ(f->ACG_Sub->GetCellEx(11, 1), QString());

    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts(), QStringList());
    reopen(*f);
    EXPECT_EQ(f->ACG_Pub->GetCellEx(9, 1), typed);
    EXPECT_EQ(f->ACG_Pub->GetCellEx(9, 3), QString(typed).replace("\n", "\r\n"));
}

TEST_F(MqttSetTopicWindow, OtherCellsAreNotOpenedInTheDialog)
{
    openGolden();
    auto f = open<TFMQTT_Set_Topic>();
    doubleClick(*f, f->ACG_Pub, 1, 1);
    doubleClick(*f, f->ACG_Pub, 13, 1);
    f->setActiveTable(1);
    doubleClick(*f, f->ACG_Sub, 1, 1);
    EXPECT_EQ(m_fakes.dialogs.shownForms, QStringList());
}

// An empty publish Topic ends the publish list, in the check and in the file (after the
// user agreed to drop the rows below it); the subscribe list is written in full.
TEST_F(MqttSetTopicWindow, EmptyPublishTopicEndsOnlyThePublishList)
{
    openGolden();
    auto f = open<TFMQTT_Set_Topic>();
    f->ACG_Pub->SetCellEx(1, 2, QString());
    f->ACG_Pub->SetCellEx(5, 3, QStringLiteral("3"));  // a String of 3 bytes: still valid
    f->ACG_Sub->SetCellEx(1, 2, QStringLiteral("plant/second"));
    setCells(f->ACG_Sub, 2, {{4, "Int"}, {5, "2"}, {6, "1499"}});
    m_fakes.dialogs.messageAnswers = {mrYes};
    click(*f, "Btn_OK");
    ASSERT_EQ(messageTexts().size(), 1);
    const QByteArray bytes = file();
    EXPECT_EQ(bytes.count("<row "), 3) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("plant/second"));
    EXPECT_FALSE(bytes.contains("plant/name"));
}

QByteArray manyRows(int n)
{
    QByteArray out = "<MQTT_Set_Topic><MQTT_Publish>";
    for (int i = 0; i < n; ++i)
        out += "<row Topic=\"t" + QByteArray::number(i)
               + "\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\"/>";
    return out + "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>";
}

QByteArray bigTemplate()
{
    QByteArray t;
    for (int i = 0; i < 40000; ++i)
        t += "{&quot;k&quot;: $VALUE$, &quot;pad&quot;: "
             "&quot;0123456789abcdef0123456789abcdef&quot;}&#10;";
    return "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"big\" Retained=\"N\" QoS=\"0\" "
           "DataType=\"String\" Dimension=\"8\" Position=\"0\" IPAddress=\"\" "
           "InputTemplate=\"\" Template=\""
           + t
           + "\" OnChange=\"N\" OnTimer=\"N\" Time=\"\" Mnemonic=\"\"/></MQTT_Publish>"
             "<MQTT_Subscribe/></MQTT_Set_Topic>\n<!--SW_VERSION = 1.003-->\n";
}

const test::BadFileCase kBadFiles[] = {
    {"NotWellFormed", "<MQTT_Set_Topic><MQTT_Publish><row", true, "MQTT_Set_Topic.xml"},
    {"NoSubscribeTable",
     "<MQTT_Set_Topic><MQTT_Publish><row Topic=\"t\" Retained=\"N\" QoS=\"0\" Mnemonic=\"\"/>"
     "</MQTT_Publish></MQTT_Set_Topic>",
     true, "MQTT_Subscribe"},
    {"NoPublishTable", "<MQTT_Set_Topic><MQTT_Subscribe/></MQTT_Set_Topic>", true, "MQTT_Publish"},
    {"RowWithoutTopic",
     "<MQTT_Set_Topic><MQTT_Publish><row QoS=\"0\" Retained=\"N\" Mnemonic=\"\"/>"
     "</MQTT_Publish><MQTT_Subscribe/></MQTT_Set_Topic>",
     true, "Topic"},
    {"TwoThousandRows", manyRows(2000), true, "976"},
    {"MegabyteTemplate", bigTemplate(), false},
};

class MqttSetTopicBadFile : public MqttSetTopicWindow,
                            public ::testing::WithParamInterface<test::BadFileCase> {};

TEST_P(MqttSetTopicBadFile, NamedAndNotOverwrittenWithoutYes)
{
    const test::BadFileCase& c = GetParam();
    ASSERT_TRUE(test::writeFile(programState().File_MQTT_Set_Topic, c.bytes));
    auto f = open<TFMQTT_Set_Topic>();
    if (!c.warned) {
        // Read whole, shown, and written back as it was.
        EXPECT_EQ(messageTexts(), QStringList())
            << messageTexts().join('|').left(300).toStdString();
        EXPECT_GT(f->ACG_Pub->GetCellEx(9, 1).size(), 1000000);
        click(*f, "Btn_OK");
        EXPECT_EQ(messageTexts(), QStringList());
        const QByteArray templ = c.bytes.mid(c.bytes.indexOf(" Template=\""), 1000000);
        EXPECT_TRUE(file().contains(templ));
        EXPECT_LT(file().size(), c.bytes.size() + 100);
        return;
    }
    ASSERT_EQ(messageTexts().size(), 1);
    EXPECT_TRUE(messageTexts()[0].contains(QString::fromUtf8(c.names)))
        << messageTexts()[0].left(300).toStdString();
    for (TRuleGrid* g : {f->ACG_Pub, f->ACG_Sub})
        for (int r = 1; r < g->RowCount(); ++r)
            g->SetCellEx(1, r, QString());
    m_fakes.dialogs.messages.clear();
    m_fakes.dialogs.messageAnswers = {mrNo};
    click(*f, "Btn_OK");
    EXPECT_EQ(m_fakes.dialogs.messages.size(), 1u);
    EXPECT_EQ(file(), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Files, MqttSetTopicBadFile, ::testing::ValuesIn(kBadFiles),
                         test::CaseName());

}  // namespace
}  // namespace zfw
