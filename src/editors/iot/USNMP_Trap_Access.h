#pragma once
// "Set SNMP Trap Access": the SNMP agent's read objects (also the trap sources) and write
// objects, 256 rows each on two pages, in SNMP_Trap.xml. Column "N" numbers the enabled rows
// only: for the rule list that number is the object's index in the generated MIB. It is
// counted at each opening, on a click of an Enable box and after each row tool.

#include "editors/iot/core/USNMP_Trap_AccessSpec.h"
#include "ruleedit/URuleEditorFrame.h"

class QHideEvent;

namespace zfw {

class TFSNMP_Trap_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFSNMP_Trap_Access(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_SNMP_Read = nullptr;
    QWidget* TS_SNMP_Write = nullptr;
    TRuleGrid* ACG_SNMP_Read = nullptr;
    TRuleGrid* ACG_SNMP_Write = nullptr;

    // Size of the internal data array for read and for write objects, set at each opening.
    int NByte_IN = kSNMPTrapPositions;
    int NByte_OUT = kSNMPTrapPositions;

    const QStringList& Hint_SNMP_Read() const { return hintList(0); }
    const QStringList& Hint_SNMP_Write() const { return hintList(1); }
    bool Do_Copy_In_Read() const { return copyFlag(0); }
    bool Do_Copy_In_Write() const { return copyFlag(1); }

    // Renumbers column 0 of the grid: the ordinal of each enabled row, empty on the others.
    void Index_Row_Build(TRuleGrid* app_SGA);

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    void opened() override;
    void checkBoxClick(int table, int ACol, int ARow, bool State) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The page last shown: each opening shows it again.
    int m_page = 0;
};

}  // namespace zfw
