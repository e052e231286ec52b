#pragma once
// "Set LoRaWAN Access": the uplink and downlink rules of LoRaWAN_SetAccess.xml. At each
// opening it reads the payload size and the FPort mode from ParGen.xml: the payload size
// bounds the bytes of a rule, and with the fixed FPort the FPort columns are hidden (still
// loaded and written) and each table holds 256 rules, 223 otherwise.

#include "config/core/ULoRaRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFLoRa_Set_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFLoRa_Set_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PC_LoRa = nullptr;
    QWidget* TS_LoRa_Uplink = nullptr;
    QWidget* TS_LoRa_Downlink = nullptr;
    TRuleGrid* ACG_LoRa_Uplink = nullptr;
    TRuleGrid* ACG_LoRa_Downlink = nullptr;

    // Of the last opening.
    int MaxPayloadSize = 0;
    bool FPortFixed = true;

    const QStringList& Hint_UpLink() const { return hintList(0); }
    const QStringList& Hint_DownLink() const { return hintList(1); }
    bool Do_Copy_Uplink() const { return copyFlag(0); }
    bool Do_Copy_Downlink() const { return copyFlag(1); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
