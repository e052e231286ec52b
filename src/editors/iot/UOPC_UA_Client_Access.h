#pragma once
// The OPC UA client editor: a list of servers, each with the variables the gateway reads from
// it and those it writes to it. It stands on the rule-editor frame: the server list is the
// editor's panel above the frame's two variable tables, which are views of the lists of the
// server they were shown for, and every action first takes what the grids hold back into
// that server. The file (servers holding their lists) is read and written by the editor.

#include "controls/FormParts.h"
#include "editors/iot/core/UOpcUaRecords.h"
#include "ruleedit/URuleEditorFrame.h"

#include <QStringList>

#include <memory>

class QLabel;
class QSplitter;
class QTabWidget;

namespace zfw {

class TExtColumnGrid;
class TExtStringGrid;
class TFOPC_UA_Add_Server;
class TFOPC_UA_Scan_Server;
class IOpcUaBrowser;

class TFOPC_UA_Client_Access final : public TRuleEditorFrame {
    Q_OBJECT
public:
    // browser runs the live browse of Scan; null leaves Scan without a browse. Not owned.
    TFOPC_UA_Client_Access(const RuleEditorContext& context, IOpcUaBrowser* browser,
                           QWidget* parent = nullptr);
    // The same with a browser the window owns.
    TFOPC_UA_Client_Access(const RuleEditorContext& context, std::unique_ptr<IOpcUaBrowser> browser,
                           QWidget* parent = nullptr);
    ~TFOPC_UA_Client_Access() override;

    void Set_Lang() override;

    // ---- handlers and methods ----
    void Show_OPC_UA_Server_List();
    void Show_OPC_UA_Var_List();
    void Add_Server();
    void Modify_Server();
    void Delete_Server();
    void Scan_Server();
    void Btn_AutoPositionClick();
    void ACG_OPC_UA_ServerClickCell(int ARow, int ACol);
    void ACG_OPC_UA_ServerDblClickCell(int ARow, int ACol);
    // Closes an open cell editor of both variable grids and takes their rows into the server
    // they show. Every button and every change of server row runs it first, so that no edit
    // depends on which control had the focus.
    void commitVariableGrids();

    // The servers, in display order; server i is row i + 1 of the server grid.
    OpcUaServerList OPC_UA_Server_List;
    // The server whose lists the variable grids show; -1 none.
    int shownServer() const { return m_shown; }

    // The editor's own parts (null until the window is built, at its first showing).
    QWidget* P_OPC_UA_Server_List = nullptr;
    QLabel* L_Server_List_Title = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Server = nullptr;
    TFormButton* Btn_Add_Server = nullptr;
    TFormButton* Btn_Modify_Server = nullptr;
    TFormButton* Btn_Delete_Server = nullptr;
    TFormButton* Btn_Scan_Server = nullptr;
    QLabel* L_Variables_List_Title = nullptr;
    // The frame's parts under the editor's names.
    QSplitter* Splitter1 = nullptr;
    QTabWidget* PC_OPC_UA_Vars = nullptr;
    QWidget* TS_OPC_UA_Var_Read = nullptr;
    QWidget* TS_OPC_UA_Var_Write = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Var_R = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Var_W = nullptr;
    TFormButton* Btn_AutoPosition = nullptr;

    // The sub-dialogs, made with the window.
    TFOPC_UA_Add_Server* FOPC_UA_Add_Server = nullptr;
    TFOPC_UA_Scan_Server* FOPC_UA_Scan_Server = nullptr;

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    QWidget* arrangeBody(QWidget* grids) override;
    QStringList readOwnFile(RuleFile& tables) override;
    QStringList ownSaveWarnings() const override;
    FileResult writeOwnFile(const RuleFile& tables) override;
    void tablesTaken() override;
    void extraButtonClick(int index) override;

private:
    void FormCreate();
    void applyServerTexts();
    // The shown server's lists into the tables (nothing shown: cleared tables).
    void fillTables();
    void fillTables(RuleFile& tables) const;
    // The server of the server grid's current row; -1 when the row holds none.
    int currentServer() const;
    void serverToDialog(const TOPC_UA_Server& s);
    void dialogToServer(TOPC_UA_Server& s) const;
    void addBrowsed(bool write, int server);
    void ServerGridHint(int ARow, int ACol, QString& hintstr);

    std::unique_ptr<IOpcUaBrowser> m_ownedBrowser;
    IOpcUaBrowser* m_browser = nullptr;
    int m_shown = -1;
    QStringList Hint_Server_List;
    // What the last opening could not read; saving over it needs a Yes.
    QStringList m_loadFaults;
};

}  // namespace zfw
