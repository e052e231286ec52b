#pragma once
// CANopen SDO client: the 256 read and 256 write requests of SDO_Client_CANopen.xml that the
// gateway sends to other devices.

#include "editors/fieldbus/core/UCANopenRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFSet_SDO_Client_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFSet_SDO_Client_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_SDO_Read = nullptr;
    QWidget* TS_SDO_Write = nullptr;
    TRuleGrid* sga = nullptr;
    TRuleGrid* sgb = nullptr;

    // Sizes of the input and output data areas, set at each opening.
    int PROFINET_NByte_IN = kCANopenDataAreaSize;
    int PROFINET_NByte_OUT = kCANopenDataAreaSize;

    const QStringList& Hint_SDO_Client_Read() const { return hintList(0); }
    const QStringList& Hint_SDO_Client_Write() const { return hintList(1); }
    bool Do_Copy_SDO_Read() const { return copyFlag(0); }
    bool Do_Copy_SDO_Write() const { return copyFlag(1); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
