#pragma once
// "IEC 61850 client": the values the gateway requests from IEC 61850 servers. The user keeps
// a catalogue of the servers' SCL files (copied into the project's ICD_Catalog folder), browses
// one server's model as a tree, and picks leaf attributes (rows of ACG_DA) or data sets (rows
// of ACG_DataSet, with the settings of each member in ACG_DS_Vars). Everything is kept in
// IEC_61850_Client.xml, read at every opening with the catalogue decoded afresh.
//
// The three grids are the rule-editor frame's tables; the catalogue and the tree stand beside
// them, and the file is the editor's own format.

#include "editors/iot/core/UIEC_61850_ClientFile.h"
#include "editors/iot/core/UIEC_61850_ClientSpec.h"
#include "ruleedit/URuleEditorFrame.h"

#include <QIcon>
#include <QStringList>

#include <vector>

class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace zfw {

class TFIEC_61850_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFIEC_61850_Access(const RuleEditorContext& context, QWidget* parent = nullptr);
    ~TFIEC_61850_Access() override;

    // ---- handlers ----
    void Btn_Add_IEC_DeviceClick();
    void Btn_Remove_IEC_DeviceClick();
    void LB_IEC_DevicesClick();
    void TV_IEC_DeviceClick();
    void Btn_AddVarClick();
    void Btn_RemoveVarClick();

    void Set_Lang() override;
    void Show_IEC_Devices();
    void Show_Tree_IEC_Device(TIEC_Device& app_IEC_Dev);
    // The leaf attribute, respectively the data set, whose node is selected; null otherwise.
    TIEC_DA* Search_Node_Selected() const;
    TIEC_DataSet* Search_Node_Selected_DataSet() const;
    void Show_DataSet_DAs();
    void Set_Start_Num_Byte();

    // ---- controls (null until the first showing) ----
    TLbButton* Btn_AddVar = nullptr;
    TLbButton* Btn_RemoveVar = nullptr;
    TLbButton* Btn_Add_IEC_Device = nullptr;
    TLbButton* Btn_Remove_IEC_Device = nullptr;
    QListWidget* LB_IEC_Devices = nullptr;
    QTreeWidget* TV_IEC_Device = nullptr;
    QTabWidget* PC_DA_DataSet = nullptr;
    QWidget* TS_DA = nullptr;
    QWidget* TS_DataSet = nullptr;
    TRuleGrid* ACG_DA = nullptr;
    TRuleGrid* ACG_DataSet = nullptr;
    TRuleGrid* ACG_DS_Vars = nullptr;

    // ---- state ----
    const std::vector<std::unique_ptr<TIEC_Device>>& List_IEC_Dev() const
    {
        return m_cfg.List_IEC_Dev;
    }
    const std::vector<std::unique_ptr<TDataSet>>& List_DataSet() const
    {
        return m_cfg.List_DataSet;
    }
    TIEC_DA* Selected_IEC_DA = nullptr;
    TIEC_DataSet* Selected_IEC_DS = nullptr;
    QTreeWidgetItem* NODE_ORIG = nullptr;
    int DataSet_Row_Select = 0;
    // The header hints of ACG_DA, entry c for column c (entry 0 that of the number column).
    QStringList Hint;

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    void opened() override;
    QWidget* arrangeBody(QWidget* grids) override;
    QStringList readOwnFile(RuleFile& tables) override;
    FileResult writeOwnFile(const RuleFile& tables) override;
    void cellClick(int table, int ACol, int ARow) override;
    void editCellDone(int table, int ACol, int ARow) override;
    void comboChange(int table, int ACol, int ARow, int AItemIndex,
                     const QString& ASelection) override;
    void extraButtonClick(int index) override;

private:
    QString catalogDir() const;
    RuleTable& table(int t) { return model()->file().tables[std::size_t(t)]; }
    void applyOwnTexts();
    void applyHints();
    void clearTree();
    void removeDataSetRow(int k);
    void storeMemberEdit(int ACol, int ARow, const QString& value);

    IecClientConfig m_cfg;
    std::vector<QIcon> IL_IEC;
    // The row of ACG_DataSet whose members ACG_DS_Vars shows; 0 none.
    int m_shownDataSetRow = 0;
    // The catalogue index of the device the tree shows; -1 none.
    int m_shownDevice = -1;
};

}  // namespace zfw
