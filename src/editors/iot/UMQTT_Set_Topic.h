#pragma once
// "Set MQTT Topics": the topics a gateway publishes and those it subscribes to, 1,024 rows
// each on two pages, in MQTT_Set_Topic.xml. A double click on a Template cell opens the
// template dialog on it.

#include "editors/iot/core/UMQTT_Set_TopicSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFTopicTemplate;

class TFMQTT_Set_Topic final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFMQTT_Set_Topic(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_MQTT_Publish = nullptr;
    QWidget* TS_MQTT_Subscribe = nullptr;
    TRuleGrid* ACG_Pub = nullptr;
    TRuleGrid* ACG_Sub = nullptr;
    // The template dialog, which lives as long as the editor.
    TFTopicTemplate* FTopicTemplate = nullptr;

    // Set at each opening: the mode handed to the template dialog, and the bytes publish and
    // subscribe positions may address.
    int Working_Mode = 1;
    int Byte_IN = kMQTTPositions;
    int Byte_OUT = kMQTTPositions;

    const QStringList& Hint_MQTT_Set_Topic_Pub() const { return hintList(0); }
    const QStringList& Hint_MQTT_Set_Topic_Sub() const { return hintList(1); }
    bool Do_Copy_Pub() const { return copyFlag(0); }
    bool Do_Copy_Sub() const { return copyFlag(1); }

    // Opens the template dialog on cell (ACol real, ARow) of the grid; on OK the dialog's
    // whole text, line breaks included, replaces the cell's.
    void Show_Form_Topic(TRuleGrid* Sender, int ARow, int ACol);

    void Set_Lang() override;

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    bool cellDoubleClick(int table, int ACol, int ARow) override;
};

}  // namespace zfw
