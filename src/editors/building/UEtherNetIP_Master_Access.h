#pragma once
// "Set EtherNet/IP Slaves Access": the I/O connections a gateway working as EtherNet/IP
// scanner opens to at most ten targets, in EtherNetIP_Master_Rules.xml. A target is typed in
// or imported from its EDS file; a rule may keep the target's configuration, whose data
// segment is edited in a window of its own on a double click in the Data Segment column.

#include "editors/building/core/UEtherNetIPRuleSpec.h"
#include "ruleedit/URuleEditorFrame.h"

#include <functional>

namespace zfw {

class TFEtherNEtIP_EDS;
class TFEtherNetIP_Data_Seg;

class TFEtherNetIP_Master_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFEtherNetIP_Master_Access(const RuleEditorContext& context,
                                        QWidget* parent = nullptr);
    ~TFEtherNetIP_Master_Access() override;

    // Null until the first showing.
    TRuleGrid* ACG = nullptr;
    TLbButton* Btn_Import_EDS = nullptr;

    int Num_Byte_In = kEtherNetIPMaxBytes;
    int Num_Byte_Out = kEtherNetIPMaxBytes;

    const QStringList& Hint() const { return hintList(0); }
    bool Do_Copy() const { return copyFlag(0); }
    // The configuration of rule row 1 to 10; nullopt for an empty slot.
    std::optional<TTargetConfig> ArrTargetConf(int row) const;

    void Btn_Import_EDSClick();

    // The two sub-windows, made with the window.
    TFEtherNEtIP_EDS* chooser() const { return m_chooser; }
    TFEtherNetIP_Data_Seg* dataSegEditor() const { return m_dataSeg; }

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    bool cellDoubleClick(int table, int ACol, int ARow) override;
    void extraButtonClick(int index) override;

private:
    // The grid's texts into the table of this opening, and back.
    void takeGrid();
    void showRow(int row);

    TFEtherNEtIP_EDS* m_chooser = nullptr;
    TFEtherNetIP_Data_Seg* m_dataSeg = nullptr;
};

}  // namespace zfw
