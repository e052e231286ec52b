#pragma once
// "BACnet Set Access": the objects the gateway serves as a BACnet server, in the tables
// "BACnet in Read" and "BACnet in Write" of BACnet_Slave_SetAccess.xml. Each opening reads
// the description length of the general parameters: 32-character descriptions halve the
// objects to 1,000 per table and in all. A double click on an Eng. Unit cell opens the unit
// picker; choosing a type in the write table presets its Length.

#include "editors/building/core/BACnetServerObjects.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFBACnet_Eng_Unit;

class TFBACnetSlaveSetAccess final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFBACnetSlaveSetAccess(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_BACnet_in_Read = nullptr;
    QWidget* TS_BACnet_in_Write = nullptr;
    TRuleGrid* ACG_BACnet_in_Read = nullptr;
    TRuleGrid* ACG_BACnet_in_Write = nullptr;

    // Of the last opening.
    bool Desc_Lenght = false;
    int NByte_IN = kBACnetServerAreaSize;
    int NByte_OUT = kBACnetServerAreaSize;

    bool Do_Copy_Read() const { return copyFlag(0); }
    bool Do_Copy_Write() const { return copyFlag(1); }

    // The unit picker this window opens; it lives as long as the window.
    TFBACnet_Eng_Unit* unitPicker() const { return m_picker; }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    bool cellDoubleClick(int table, int ACol, int ARow) override;
    void comboChange(int table, int ACol, int ARow, int AItemIndex,
                     const QString& ASelection) override;

private:
    TFBACnet_Eng_Unit* m_picker = nullptr;
};

}  // namespace zfw
