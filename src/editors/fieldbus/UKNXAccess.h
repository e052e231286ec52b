#pragma once
// "KNX Access": the rules of KNX_SetAccess.xml by which the gateway exchanges telegrams with
// KNX devices, 1024 rules each placed in the gateway's data array of 1500 bytes.

#include "editors/fieldbus/core/UKNXRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFKNXAccess final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFKNXAccess(const RuleEditorContext& context, QWidget* parent = nullptr);

    TRuleGrid* ACG_KNX_in_Write = nullptr;  // null until the first showing
    // Size of the data array, set at each opening.
    int Max_Num_Byte = kKnxDataArray;

    const QStringList& Hint() const { return hintList(0); }
    bool Do_Copy_In_Write() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
