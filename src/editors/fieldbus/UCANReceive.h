#pragma once
// "CAN receive": the frames of CAN_Rec_Frames.xml, 512, that the gateway takes from the bus:
// per frame its identifier, length and time-out, and where each data byte is stored.

#include "editors/fieldbus/core/UCANRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFReceiveCAN final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFReceiveCAN(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TRuleGrid* ACG_CAN_Receive = nullptr;

    // Size of the data area, set at each opening.
    int MAX_Byte = kCANReceiveAreaSize;

    const QStringList& Hint_ReceiveCAN() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
