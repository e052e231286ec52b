#pragma once
// CANopen SDO server: the 500 read and 500 write objects of SDO_Server_CANopen.xml that the
// gateway offers in its manufacturer area, and that the EDS file lists.

#include "editors/fieldbus/core/UCANopenRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFSet_SDO_Server_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFSet_SDO_Server_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

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
