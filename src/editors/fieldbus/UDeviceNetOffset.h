#pragma once
// TFDefOffset: where each data byte of each DeviceNet slave goes in the gateway's input and
// output arrays. The slave grid lists the slaves of DNETM_Net.xml; the two byte grids show the
// bytes of the slave chosen there, one row per byte, and follow the choice: the edits of the
// slave left are stored into it first. OK checks that no output offset is taken twice and
// writes DNETM_DefOff.xml.
//
// Not a rule grid: it is built from the frame's parts (title band, buttons, language, the
// project file conventions) around a window-free model.

#include "editors/fieldbus/core/UDeviceNetOffsets.h"
#include "platform/Form.h"
#include "ruleedit/URuleEditorContext.h"

class QLabel;
class QSplitter;
class QTabWidget;

namespace zfw {

class TExtColumnGrid;
class TLbButton;

class TFDefOffset final : public TForm {
    Q_OBJECT
public:
    explicit TFDefOffset(const RuleEditorContext& context, QWidget* parent = nullptr);
    ~TFDefOffset() override;

    // ---- handlers ----
    void FormShow();
    // The slave grid's current row has become the slave shown.
    void ACG_DN_SlavesClick();
    void bitbtn1Click();

    // ---- the frame's steps ----
    void Load_Slave_DN();
    void Select_First();
    void Update_Slave_DN();
    bool Save_Data_ByteIN_ByteOUT();
    bool Check_Data();
    void Set_Lang() override;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TExtColumnGrid* ACG_DN_Slaves = nullptr;
    QSplitter* Splitter1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    TExtColumnGrid* ACG_ByteIN = nullptr;
    TExtColumnGrid* ACG_ByteOUT = nullptr;
    TLbButton* Btn_OK = nullptr;
    TLbButton* Btn_Cancel = nullptr;

    // Index in the slave list of the slave the byte grids show; -1 none.
    int Slave_Before_Select = -1;

    const TDefOffsetModel& model() const { return m_model; }
    const std::vector<TSlave_DN>& List_Slaves_DN() const { return m_model.List_Slaves_DN; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void selectSlave(int row);
    void setupByteGrid(TExtColumnGrid* g, int size);
    void fillByteGrid(TExtColumnGrid* g, const QStringList& offsets, const QStringList& mnemonics);
    QString text(int n) const;

    RuleEditorContext m_ctx;
    TDefOffsetModel m_model;
    DefOffsetOpening m_opening;
};

}  // namespace zfw
