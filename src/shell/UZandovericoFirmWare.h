#pragma once
// The main window: the numbered steps of this build, the active configuration, and the one
// click handler that opens every editor.

#include "shell/Forms.h"
#include "shell/MakerWeb.h"
#include "shell/ShellServices.h"

#include "controls/LbButton.h"

#include <QWidget>

#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QTimer;

namespace zfw {

class IHttpGet;
struct ProgramState;

// The push button of the main window's steps.
using TStepButton = TLbButton;

class TFZandovericoFirmWare final : public QWidget {
    Q_OBJECT
public:
    // dataRoot becomes Dir_Exe: the folder that holds PROJECTS, LANGUAGE, MASTER and the
    // settings file. Construction runs FormCreate.
    explicit TFZandovericoFirmWare(const QString& dataRoot, QWidget* parent = nullptr);
    ~TFZandovericoFirmWare() override;

    // The other windows, created by the entry point after this one.
    TForms& forms() { return m_forms; }

    void Set_Lang();
    void Set_Files();
    void Change_Language();
    void Btn_Click(QObject* sender);

    void Create_New_Project();
    void Open_Project();
    void Update_Device();
    void L_BrenikClick();

    // The integer text of BACnet_Type under the root of ParGen.xml; 0 when the file is
    // missing or malformed, the element is absent or its text is no integer.
    int Get_Type_BACnet() const;

    // Version check of the update timer: shows or hides LL_Update when the answer arrives,
    // then waits two hours for the next one.
    void Timer_UpdateTimer();
    void LL_UpdateLinkClick(const QString& link);

    // Runs Timer_Update exactly while both internet options are on.
    void updateTimer();

    // The HTTP client of the version check (HTTP1); tests put their own in.
    IHttpGet& HTTP1() { return *m_http; }
    void setHttpClient(std::unique_ptr<IHttpGet> client);

    // Where the version check asks and the links lead; tests point it at a local server.
    const MakerWebServer& makerWebServer() const { return m_web; }
    void setMakerWebServer(const MakerWebServer& server);

    // What the About and Options windows are given: the server, HTTP1 and the URL opener.
    // The windows hear of every later change of server or client.
    ShellServices shellServices() const;

    // Shows the active-configuration lines for the current project state.
    void showProjectState();

    // Folders that could not be created at start-up (empty when all exist).
    const QStringList& failedFolders() const { return m_failedFolders; }

    QTimer* Timer_Update = nullptr;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* LL_Update = nullptr;
    QLabel* L_Begin = nullptr;
    QFrame* Shape2 = nullptr;
    QLabel* L_Name_Conf = nullptr;
    QLabel* L_Name_Conf_L2 = nullptr;
    QLabel* L_Step[8] = {};
    QFrame* Shape1 = nullptr;
    QLabel* L_Brenik = nullptr;

    TStepButton* Btn_Info = nullptr;
    TStepButton* Btn_Opz = nullptr;
    TStepButton* Btn_Close = nullptr;
    TStepButton* Btn_New = nullptr;
    TStepButton* Btn_Open = nullptr;
    TStepButton* Btn_Prm_Gen = nullptr;
    TStepButton* Btn_LoRaWAN_Access = nullptr;
    TStepButton* Btn_S7_Protocol_Access = nullptr;
    TStepButton* Btn_CreateBin = nullptr;

    // Every step button, the hidden ones of the family's other models included.
    const std::vector<TStepButton*>& stepButtons() const { return m_stepButtons; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void createControls();
    void createFolders();
    void showForm(FormId id);
    void notAvailable(const QString& what);
    void dispatch(QObject* sender);
    void passShellServices();

    MakerWebServer m_web = defaultMakerWebServer();
    std::unique_ptr<IHttpGet> m_http;
    TForms m_forms;
    std::vector<TStepButton*> m_stepButtons;
    QStringList m_failedFolders;
};

// Builds every window of the program in creation order: the main window, then the 48 others
// (placeholders for those not built yet), each once. The caller owns the main window, which
// owns the rest. Folders that could not be created are then reported in one error box.
TFZandovericoFirmWare* createApplicationWindows(const QString& dataRoot);

}  // namespace zfw
