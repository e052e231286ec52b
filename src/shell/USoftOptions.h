#pragma once
// Software Options: the language, chosen among the language files six to a page, the
// internet options with a manual version check, and the table options.

#include "controls/FormParts.h"
#include "shell/ShellServices.h"

#include <QStringList>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QTabWidget;
class QWidget;

namespace zfw {

enum class VersionAnswer {
    Newer,        // the server named a newer version
    NotNewer,     // it named none, or the request failed (no network, refused, time-out...)
    Unavailable,  // nothing was asked: this build has no server, or there is no client
};

// Asks web through http for the newest version of this build. done is called later from the
// event loop, or at once with Unavailable when no request is sent.
void Check_Version(IHttpGet* http, const MakerWebServer& web,
                   std::function<void(VersionAnswer)> done);

class TFSoftOptions final : public TModalForm {
    Q_OBJECT
public:
    explicit TFSoftOptions(QWidget* parent = nullptr);
    TFSoftOptions(const ShellServices& shell, QWidget* parent);

    // The maker's server, the HTTP client of the manual check and the URL opener.
    void setShellServices(const ShellServices& shell) { m_shell = shell; }

    void Set_Lang() override;

    // Lists the loadable language files of LANGUAGE into SL_Languages and shows page 1.
    void Create_Lang_List();
    // Shows page p (from 1) of the language list.
    void Update_Lang_Page(int p);
    // Page buttons: sender is Btn_Prev or Btn_Next.
    void Btn_NextClick(QObject* sender);
    // Slot k (1 to 6) of the page shown was clicked: asks, then loads that language and
    // emits languageChanged; with no receiver, only this window takes the new texts.
    void LangClick(int k);
    void Update_CheckBox();
    void CB_En_ConClick();
    void Btn_Check_UpdateClick();
    void LL_Check_UpdateLinkClick(const QString& link);
    void Btn_OKClick();

    // The version check with this window's server and client.
    void Check_Version(std::function<void(VersionAnswer)> done);

    // The number of a version text "d.ddd" (the text after the first blank, if any): its
    // four digits read as one integer; -1 when it is none.
    static int Conv_Version(const QString& Ver_str);
    // True when the server's reply names a version newer than local.
    static bool versionReplyIsNewer(const QString& reply, const QString& local);

    int Show_Page = 1;
    QStringList SL_Languages;  // file names with their extension, sorted
    QString Language_In_Use;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;
    QTabWidget* PC_Options = nullptr;
    QWidget* TS_Language = nullptr;
    QWidget* TS_Con_Options = nullptr;
    QWidget* TS_Soft_Settings = nullptr;
    QLabel* L_Sel_Lang = nullptr;
    std::array<QLabel*, 6> I_L{};  // I_L1 ... I_L6
    std::array<QLabel*, 6> L_L{};  // L_L1 ... L_L6
    QLabel* L_Page_Lang = nullptr;
    TFormButton* Btn_Prev = nullptr;
    TFormButton* Btn_Next = nullptr;
    QCheckBox* CB_En_Con = nullptr;
    QCheckBox* CB_Update = nullptr;
    TFormButton* Btn_Check_Update = nullptr;
    QLabel* LL_Check_Update = nullptr;
    QCheckBox* CB_Soft_Set_Jump_Table = nullptr;
    QCheckBox* CB_DoubleClick_Auto_Size = nullptr;

signals:
    // A language was loaded into the table: every window should take its texts again.
    void languageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow() override;
    int pageCount() const { return (static_cast<int>(SL_Languages.size()) + 5) / 6; }

    ShellServices m_shell;
    bool m_listBuilt = false;
    int m_showing = 0;  // counts the openings, so a late answer of an earlier one is dropped
};

}  // namespace zfw
