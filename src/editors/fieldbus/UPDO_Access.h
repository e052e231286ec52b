#pragma once
// CANopen PDOs: the 30 receive and 30 transmit PDOs of PDO_CANopen.xml, with the position
// in the gateway's data area of each data byte.

#include "editors/fieldbus/core/UCANopenRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFSet_PDO_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFSet_PDO_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_Receive_PDO = nullptr;
    QWidget* TS_Transmit_PDO = nullptr;
    TRuleGrid* sga = nullptr;
    TRuleGrid* sgb = nullptr;

    // Sizes of the input and output data areas, set at each opening.
    int PROFINET_NByte_IN = kCANopenDataAreaSize;
    int PROFINET_NByte_OUT = kCANopenDataAreaSize;

    const QStringList& Hint_PDO_Receive() const { return hintList(0); }
    const QStringList& Hint_PDO_Transmit() const { return hintList(1); }
    bool Do_Copy_Receive_PDO() const { return copyFlag(0); }
    bool Do_Copy_Transmit_PDO() const { return copyFlag(1); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
