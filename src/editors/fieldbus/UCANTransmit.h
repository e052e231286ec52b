#pragma once
// "CAN transmit": the frames of CAN_Send_Frames.xml, 512, that the gateway sends on the bus:
// per frame its identifier, length, when it is sent, and where each data byte comes from.

#include "editors/fieldbus/core/UCANRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFTransmitCAN final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFTransmitCAN(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TRuleGrid* ACG_CAN_Transmit = nullptr;

    // Size of the data area, set at each opening.
    int MAX_Byte = kCANTransmitAreaSize;

    const QStringList& Hint_TransmitCAN() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
