#pragma once
// The DeviceNet slave list of DNETM_Net.xml: node ID, input and output byte counts and a
// description of each of at most 64 slaves.

#include "editors/fieldbus/core/UDeviceNetRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFDNet final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFDNet(const RuleEditorContext& context, QWidget* parent = nullptr);

    TRuleGrid* ESG = nullptr;  // null until the first showing

    const QStringList& Hint_DeviceNet() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }

protected:
    RuleFileSpec prepareOpening() override { return deviceNetRuleSpec(); }
    QString filePath() const override;
    void built() override { ESG = grid(0); }
};

}  // namespace zfw
