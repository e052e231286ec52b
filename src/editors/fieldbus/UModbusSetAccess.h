#pragma once
// "Modbus RTU master": the read and write rules of ModbusM_SetAccess.xml, 512 each, by which
// the gateway polls Modbus slaves on its serial line into its input data area and sends its
// output data area to them.

#include "editors/fieldbus/core/UModbusRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFSetAccess final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFSetAccess(const RuleEditorContext& context, QWidget* parent = nullptr);

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_Modbus_Read = nullptr;
    QWidget* TS_Modbus_Write = nullptr;
    TRuleGrid* ACG_Modbus_Read = nullptr;
    TRuleGrid* ACG_Modbus_Write = nullptr;

    // Sizes of the input and output data areas, set at each opening.
    int NByte_IN = kModbusDataAreaSize;
    int NByte_OUT = kModbusDataAreaSize;
    // The topics the hidden Topic column offers; nothing fills it.
    QStringList List_Publish_Topic;

    const QStringList& Hint_Modbus_Set_Access_Read() const { return hintList(0); }
    const QStringList& Hint_Modbus_Set_Access_Write() const { return hintList(1); }
    bool Do_Copy_In_Read() const { return copyFlag(0); }
    bool Do_Copy_In_Write() const { return copyFlag(1); }
    // The topic index of read row r (from 1): read from the file at opening, changed by the
    // Topic combo; -1 for none.
    int ComboItem_Topic(int r) const;

    int Get_Index_From_Topic(const QString& Topic, int index) const;
    QString Get_Topic_From_Index(int Index) const;

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    void comboChange(int table, int ACol, int ARow, int AItemIndex,
                     const QString& ASelection) override;
};

}  // namespace zfw
