#pragma once
// The device update window: the user types the device address and chooses what to update;
// the window checks with a ping that the device answers, writes the operation list
// Ethernet_Update.xml beside the program and starts the external update program. The check
// and the wait for the program run as steps on the event loop; the window stays busy (its
// input off, closing refused) from the click until the program has ended.

#include "config/UpdateProgram.h"
#include "controls/LbButton.h"
#include "platform/Form.h"
#include "platform/Ping.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QWidget;

namespace zfw {

// The push button of this window.
using TBootButton = TLbButton;

// What the update window needs, handed to it when it is made; a null member takes the one in
// use program-wide (pinger(), services()).
struct BootServices {
    IPinger* pinger = nullptr;  // not owned
    ProgramServices program;    // launcher and clock of the update program's start and wait
};

class TFBoot final : public TForm {
    Q_OBJECT
public:
    explicit TFBoot(QWidget* parent = nullptr, const BootServices& with = {});

    // 0 serial layout, 1 Ethernet layout; set by the caller before each opening.
    int Form_Type = 1;
    // Outcome of the last echo request: 0 none yet, 1 a reply with data, 2 no reply.
    int ping_res = 0;

    void Set_Lang() override;
    void FormShow();
    // Starts the check of the typed address; the rest of the update follows when it ends.
    void Btn_UpdateClick();
    // Starts the echo requests to the typed address. When they end, the update goes on if
    // the latest request got a reply, and stops with a message otherwise.
    void Send_Ping();
    void PingReply(const EchoResult& reply);
    // Writes Ethernet_Update.xml from the current edits and choices. False, with the reason
    // in *error, when the file could not be written.
    bool Compile_XML_Parameter_New_Boot(QString* error = nullptr);
    void update_ComPort();
    void Btn_COM_ListClick();

    // The four edit texts joined with ".".
    QString ipAddressText() const;
    // The operation list for the current edits and choices, as it is written.
    QByteArray ethernetUpdateXml() const;

    // The external update program; empty means Ethernet_Update in Dir_Exe.
    void setUpdateProgram(const QString& path) { m_updateProgram = path; }
    QString updateProgram() const;
    // Longest wait for the update program, in milliseconds.
    void setProgramTimeLimit(int ms) { m_programTimeLimitMs = ms; }
    // True from the update click until the check has failed or the update program has ended.
    bool isBusy() const { return m_busy; }

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;

    QWidget* P_IP_Address = nullptr;
    QLabel* L_IP_Address = nullptr;
    QLineEdit* E_IP1 = nullptr;
    QLineEdit* E_IP2 = nullptr;
    QLineEdit* E_IP3 = nullptr;
    QLineEdit* E_IP4 = nullptr;

    QWidget* P_Eth_Search = nullptr;
    QLabel* L_Eth_Search = nullptr;
    TBootButton* Btn_Eth_Search = nullptr;
    QTreeWidget* LV_Eth_Devices = nullptr;
    QCheckBox* CB_Eth_Search = nullptr;

    QWidget* P_Options = nullptr;
    QLabel* L_Update_Option = nullptr;
    QComboBox* CB_Update_Options = nullptr;
    QCheckBox* CB_Update_Option_Read_Back = nullptr;

    QWidget* P_Serial = nullptr;
    QComboBox* CB_COM_Port = nullptr;
    TBootButton* Btn_COM_List = nullptr;

    QWidget* P_Button = nullptr;
    TBootButton* Btn_Cancel = nullptr;
    TBootButton* Btn_Update = nullptr;

public slots:
    // A busy window cannot be closed: the check and the update program finish first.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    IPinger& echoClient() const;
    IClock& clock() const;
    void createControls();
    void layoutPanels();
    // Handles a key typed in one of the address edits; true when it is consumed.
    bool KeyPress(QLineEdit* edit, QChar key);
    void setBusy(bool busy);
    void sendEcho();
    void echoAnswered(const EchoResult& reply);
    void afterPingPause();
    void pingFinished(bool answered);

    QString m_updateProgram;
    BootServices m_services;
    int m_programTimeLimitMs;
    bool m_busy = false;
    bool m_pingNotPermitted = false;  // the last check failed for want of an ICMP socket
    qint64 m_pingStart = 0;           // monotonic ms at the start of the check
    int m_pingTries = 0;
    int m_goodReplies = 0;
};

}  // namespace zfw
