#pragma once
// "S7comm Access": the read and write rules of S7_Protocol.xml, 512 each, by which the
// gateway reads values from S7 PLCs into its data area and writes values from it to them;
// at most ten distinct PLC connections (address and port) over the enabled rules of both.

#include "config/core/US7RuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFS7_Protocol_Set_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFS7_Protocol_Set_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_S7_Read = nullptr;
    QWidget* TS_S7_Write = nullptr;
    TRuleGrid* ACG_S7_Read = nullptr;
    TRuleGrid* ACG_S7_Write = nullptr;

    // Size of the data area for read and for write rules, set at each opening.
    int NByte_IN = kS7DataAreaSize;
    int NByte_OUT = kS7DataAreaSize;

    const QStringList& Hint_S7_Set_Access_Read() const { return hintList(0); }
    const QStringList& Hint_S7_Set_Access_Write() const { return hintList(1); }
    bool Do_Copy_In_Read() const { return copyFlag(0); }
    bool Do_Copy_In_Write() const { return copyFlag(1); }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
};

}  // namespace zfw
