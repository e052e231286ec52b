#pragma once
// The Scan & Decode window: scan options, a wired scan through the scan engine, the progress
// list, the result tree with check boxes and the save into the project's M_Bus.xml with the
// start-register dialogs. The engine runs on threads of its own; its notices reach this
// window as queued signals, so the window is only ever touched from its own thread.

#include "controls/FormParts.h"
#include "editors/metering/core/MBusDecoder.h"
#include "editors/metering/core/WMBusIntake.h"
#include "editors/metering/scan/MBusWiredScan.h"
#include "editors/metering/scan/MBusWirelessScan.h"
#include "tree/LazyTreesString.h"

#include <QStyledItemDelegate>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;
class QTimer;

namespace zfw {

class IUserDialogs;
class TMBusScanDecode;
class TFInsertKeyWireless;
class TFScanModbusStart;
class TFModbusStartAdd_SD;

// Draws a progress line: blue when the address answered; red, split at x = 70, when it did
// not ("ID = 5" in the first 70 pixels, "[NOT FOUND]" from there).
class TProgressLineDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The node record of both result trees: the node's text, made once when the node is
// initialised. Check is kept for the record's layout; the ticks live in the nodes.
struct TMyRec {
    QString Caption;
    bool Check = false;
};

struct ScanDecodeServices {
    // The engine (not owned); null makes one of the window's own, on first use, with
    // makeEngine or, without it, over UDP.
    TMBusScanDecode* engine = nullptr;
    std::function<std::unique_ptr<TMBusScanDecode>()> makeEngine;
    IUserDialogs* dialogs = nullptr;  // null: the one in use program-wide
    // The start-register dialogs (not owned); null makes the window's own when needed.
    TFScanModbusStart* startDialog = nullptr;
    TFModbusStartAdd_SD* perNodeDialog = nullptr;
    TFInsertKeyWireless* keyDialog = nullptr;
};

class TFScanDecode final : public TModalForm {
    Q_OBJECT
public:
    explicit TFScanDecode(QWidget* parent = nullptr, ScanDecodeServices services = {});
    ~TFScanDecode() override;

    // Set by the caller before each showing.
    int XML_Code_Dev = 0;
    QString FileName_MBus;
    int Form_Type = 0;  // 0 wired scanning only; 1 the user picks wired or wireless

    void Set_Lang() override;
    void FormShow() override;
    void Form_Style(int Index);
    int formStyle() const { return m_style; }
    void Move_Object_Type_Form();
    void Update_List_of_COM_Port();
    void Select_Scan();
    void StartScan();
    void StarScanWireless();
    void StopScan();
    void AbortScan();
    void NewScan();
    void Show_Scan_Progress(int kind, int address, int found, int scanKind);
    void Show_Slave_in_Tree();
    void Cancel_Device_List();
    // A wireless meter heard (again): its row in the table, by its index in the meter list.
    void Show_Wireless_Slave(int index, const TSlave_wMBus& meter);
    // The clicked row's meter alone in the wireless tree, with its records.
    void Show_Slave_in_Tree_Wireless(int index);
    void Cancel_Device_List_Wireless();
    void Cancel_Grid_Wireless();
    // A double click on a row: the key dialog for an encrypted meter, near the mouse.
    void ESG_WirelessDblClickCell(int row, const QPoint& globalMouse);
    // type 0 "Save Conf.", 1 "Save Node Add. Conf.".
    void Select_SaveXML(int Type_SaveXML);
    void Carica_Dati_Modbus_Start_Add();

    // The device code from its text; a text that is no whole number gives 0, so that the
    // window always works with a defined code.
    static int deviceCodeOf(const QString& text);

    const TSlaveMBusList& slaves() const { return m_slaves; }
    const TSlaveWMBusList& wirelessSlaves() const { return m_wSlaves; }
    // The engine in use (made on first use when none was given).
    TMBusScanDecode& engine();

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QWidget* P_Main = nullptr;
    QLabel* L_ScanMethod = nullptr;
    QComboBox* CB_ScanMethod = nullptr;
    QLabel* L_ScanBy = nullptr;
    QComboBox* CB_ScanBy = nullptr;
    QLabel* L_HardwareType = nullptr;
    QComboBox* CB_HardwareType = nullptr;
    QLabel* L_IP = nullptr;
    QLineEdit* E_IP1 = nullptr;
    QLineEdit* E_IP2 = nullptr;
    QLineEdit* E_IP3 = nullptr;
    QLineEdit* E_IP4 = nullptr;
    QLabel* L_ComPort = nullptr;
    QComboBox* CB_ComPort = nullptr;
    TFormButton* Btn_COM_List = nullptr;
    QLabel* L_Port = nullptr;
    QLineEdit* E_Port = nullptr;
    QLabel* L_MBus_Param = nullptr;
    QLabel* L_MBus_Baud = nullptr;
    QComboBox* CB_MBus_Baud = nullptr;
    QLabel* L_MBus_Parity = nullptr;
    QComboBox* CB_MBus_Parity = nullptr;
    QLabel* L_wMBus_Mode = nullptr;
    QComboBox* CB_wMBus_Mode = nullptr;
    QLabel* L_wMBus_Radio_Channel = nullptr;
    QComboBox* CB_wMBus_Radio_Channel = nullptr;
    QLabel* L_Options = nullptr;
    QCheckBox* CB_Opt_App_Reset = nullptr;
    QLineEdit* E_Opt_App_Reset_Byte = nullptr;
    QCheckBox* CB_Opt_SND_NKE = nullptr;
    QLabel* L_Opt_Cut_After = nullptr;
    QLineEdit* E_Opt_Cut_After = nullptr;
    QCheckBox* CB_Opt_Use_Fix_C_Field = nullptr;
    QComboBox* CB_Opt_Use_Fix_C_Field_Value = nullptr;
    QCheckBox* CB_Opt_Check_BCD_to_Int = nullptr;
    QCheckBox* CB_Opt_Enable_Remote_Scan = nullptr;

    QWidget* P_TreeView = nullptr;
    QLabel* L_ScanProgress = nullptr;
    QLabel* L_Num_Slave = nullptr;
    QLabel* L_AvailableDevice = nullptr;
    QListWidget* LB_AvailableDevice = nullptr;
    // The wired result: slaves, their records and each record's details, made lazily.
    TLazyStringTree* VST = nullptr;

    QWidget* P_View_Wireless = nullptr;
    QTableWidget* ESG_Wireless = nullptr;
    // The records of the meter clicked in the table, made lazily; ticks go to Enable.
    TLazyStringTree* VST_Wireless = nullptr;

    QWidget* P_Buttons = nullptr;
    TFormButton* Btn_StartScan = nullptr;
    TFormButton* Btn_StopScan = nullptr;
    TFormButton* Btn_AbortScan = nullptr;
    TFormButton* Btn_NewScan = nullptr;
    TFormButton* Btn_SaveConf = nullptr;
    TFormButton* Btn_SaveConfManual = nullptr;

signals:
    // The key typed for meter index, to hand to the wireless engine (Insert_Wireless_Key).
    void Insert_Wireless_Key(int index, const zfw::AesKey& key);

public slots:
    // Closing during a scan asks the engine to abort and closes at once; the engine takes
    // the gateway out of analyzer mode and releases its socket on its own threads.
    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IUserDialogs& dialogs() const;
    QString lang(int n) const;
    void createControls();
    void connectEngine(TMBusScanDecode& engine);
    void scanEnded(int result);
    void startWhenIdle();
    bool startEngine();
    bool wirelessChosen() const;
    TFScanModbusStart& startDialog();
    TFModbusStartAdd_SD& perNodeDialog();
    TFInsertKeyWireless& keyDialog();
    // Handlers both result trees share.
    static void VSTGetText(TBaseLazyTree& tree, PLazyNode node, TColumnIndex column,
                           TVSTTextType type, QString& text);
    static void VSTFreeNode(LazyTreeModel& tree, PLazyNode node);
    void VSTGetImageIndexEx(TBaseLazyTree& tree, PLazyNode node, TLTImageKind kind, int& index,
                            const TImageList*& list) const;
    void VST_WirelessInitNode(LazyTreeModel& tree, PLazyNode parent, PLazyNode node,
                              TLazyNodeInitStates& states);
    // A tick or untick of the meter or a record goes to its Enable; mixed states are ignored.
    void VST_WirelessChecked(LazyTreeModel& tree, PLazyNode node);
    void setUpResultTree(TLazyStringTree& tree);
    void setUpWiredTree();
    void setUpWirelessTree();
    // The meter the wireless tree shows; null when there is none.
    TSlave_wMBus* wirelessTreeMeter() const;

    ScanDecodeServices m_services;
    std::unique_ptr<TMBusScanDecode> m_ownEngine;
    TMBusScanDecode* m_engine = nullptr;
    TFScanModbusStart* m_startDialog = nullptr;
    TFModbusStartAdd_SD* m_perNodeDialog = nullptr;
    TFInsertKeyWireless* m_keyDialog = nullptr;
    TSlaveWMBusList m_wSlaves;
    int m_wTreeIndex = -1;  // the meter the wireless tree shows
    TSlaveMBusList m_slaves;
    std::unique_ptr<TImageList> m_treeImages;  // one image per level of the wired tree
    TWiredScanSettings m_settings;             // of the start that waits for the engine
    TWirelessScanSettings m_wSettings;
    bool m_wirelessScan = false;  // the running or waiting scan is a wireless one
    QTimer* m_waitIdle = nullptr;
    bool m_scanning = false;      // a scan this window started has not ended yet
    int m_staleEnds = 0;          // end notices still due from scans abandoned by closing
    bool m_startPending = false;  // a start waits for that scan to finish
    int m_style = 1;
};

}  // namespace zfw
