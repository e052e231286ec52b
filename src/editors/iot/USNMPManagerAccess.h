#pragma once
// "Set SNMP Manager Access": the requests the gateway sends as an SNMP manager, 512 rows of
// SNMP_Manager.xml in one grid.

#include "editors/iot/core/USNMPManagerAccessSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFSNMPManagerAccess final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFSNMPManagerAccess(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    TRuleGrid* ACG_SNMP = nullptr;

    const QStringList& Hint_SNMP() const { return hintList(0); }
    bool Do_Copy_SNMP() const { return copyFlag(0); }

protected:
    // The Position items "0" to "1439" are given afresh at each opening.
    RuleFileSpec prepareOpening() override { return snmpManagerSpec(); }
    QString filePath() const override;
    void built() override { ACG_SNMP = grid(0); }
};

}  // namespace zfw
