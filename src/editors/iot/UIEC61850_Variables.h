#pragma once
// "Set Variables Access for IEC61850": the variables a gateway acting as an IEC 61850 server
// maps onto its internal data array, 50 rows of IEC61850_Variables.xml in one grid.

#include "editors/iot/core/UIEC61850_VariablesSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFIEC61850_Variables final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFIEC61850_Variables(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TRuleGrid* ACG = nullptr;

    // Bytes the positions may address, set at each opening.
    int NByte_IN = kIEC61850Positions;

    const QStringList& Hint_List() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override { ACG = grid(0); }
};

}  // namespace zfw
