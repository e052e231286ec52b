#pragma once
// "DMX default values": the value every DMX channel of the gateway takes until it is set,
// with a mnemonic per channel, in DMX_Default_Values.xml; as many channels as the general
// parameters give, read at every opening.

#include "editors/fieldbus/core/UDMXRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFDMXDefVal final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFDMXDefVal(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TRuleGrid* ACG_DMX_Def_Val = nullptr;

    const QStringList& Hint() const { return hintList(0); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
