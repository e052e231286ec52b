#include "editors/iot/UMQTT_Set_Topic.h"

#include "common/UComon.h"
#include "editors/iot/UTopicTemplate.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QPlainTextEdit>
#include <QTabWidget>

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFMQTT_Set_Topic";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_MQTT_Publish", "TS_MQTT_Subscribe"};
    n.grids = {"ACG_Pub", "ACG_Sub"};
    n.clientWidth = 1100;
    n.clientHeight = 337;
    return n;
}

bool isTemplateCell(int table, int ACol)
{
    return (table == 0 && ACol == kMQTTPubTemplateCol)
           || (table == 1 && ACol == kMQTTSubTemplateCol);
}

}  // namespace

TFMQTT_Set_Topic::TFMQTT_Set_Topic(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), mqttSetTopicSpec(), parent)
{
    FTopicTemplate = new TFTopicTemplate(context, this);
}

void TFMQTT_Set_Topic::built()
{
    PageControl1 = pageControl();
    TS_MQTT_Publish = PageControl1->widget(0);
    TS_MQTT_Subscribe = PageControl1->widget(1);
    ACG_Pub = grid(0);
    ACG_Sub = grid(1);
}

void TFMQTT_Set_Topic::Set_Lang()
{
    TRuleEditorFrame::Set_Lang();
    if (FTopicTemplate)
        FTopicTemplate->Set_Lang();
}

QString TFMQTT_Set_Topic::filePath() const { return context().state->File_MQTT_Set_Topic; }

// The hidden columns, the row counts and the limits are set afresh at each opening.
RuleFileSpec TFMQTT_Set_Topic::prepareOpening()
{
    Working_Mode = 1;
    Byte_IN = kMQTTPositions;
    Byte_OUT = kMQTTPositions;
    return mqttSetTopicSpec(Byte_IN, Byte_OUT);
}

bool TFMQTT_Set_Topic::cellDoubleClick(int table, int ACol, int ARow)
{
    if (!isTemplateCell(table, ACol))
        return false;
    Show_Form_Topic(grid(table), ARow, ACol);
    return true;
}

void TFMQTT_Set_Topic::Show_Form_Topic(TRuleGrid* Sender, int ARow, int ACol)
{
    if (!Sender)
        return;
    const int table = Sender == ACG_Pub ? 0 : 1;
    FTopicTemplate->TopicTemplate = isTemplateCell(table, ACol) ? 1 : 0;
    FTopicTemplate->Working_Mode = Working_Mode;
    FTopicTemplate->Pub_Sub = table;
    const QString before = Sender->GetCellEx(ACol, ARow);
    FTopicTemplate->RE_TopicTemplate->clear();
    FTopicTemplate->RE_TopicTemplate->setPlainText(before);
    if (dialogs().showModal(*FTopicTemplate) != mrOk)
        return;
    QString after = FTopicTemplate->RE_TopicTemplate->toPlainText();
    // The text box knows one kind of line break. A template typed with carriage return and
    // line feed gets them back, so that an unchanged template is stored unchanged.
    if (before.contains(QLatin1String("\r\n")))
        after.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    Sender->SetCellEx(ACol, ARow, after);
}

}  // namespace zfw
