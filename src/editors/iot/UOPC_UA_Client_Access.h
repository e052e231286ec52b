#pragma once
// The OPC UA client editor: a list of servers, each with the variables the gateway reads from
// it and those it writes to it. The configuration lives in the server objects; the two
// variable grids are views of the lists of the server they were shown for, and every action
// first takes what the grids hold back into that server.

#include "controls/FormParts.h"
#include "editors/iot/core/UOpcUaRecords.h"
#include "ruleedit/URuleEditorContext.h"

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

class TFOPC_UA_Client_Access final : public TModalForm {
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
    void Btn_InsRowClick();
    void Btn_DelRowClick();
    void Btn_CopyRowClick();
    void Btn_PasteRowClick();
    void Btn_OKClick();
    bool Controllo_Dati();
    void ACG_OPC_UA_ServerClickCell(int ARow, int ACol);
    void ACG_OPC_UA_ServerDblClickCell(int ARow, int ACol);
    // Closes an open cell editor of both variable grids and takes their rows into the server
    // they show. Every button and every change of server row runs it first, so that no edit
    // depends on which control had the focus.
    void commitVariableGrids();

    // The servers, in display order; server i is row i + 1 of the server grid.
    OpcUaServerList OPC_UA_Server_List;
    bool Do_Copy_Read = false;
    bool Do_Copy_Write = false;
    // The server whose lists the variable grids show; -1 none.
    int shownServer() const { return m_shown; }

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QWidget* P_OPC_UA_Server_List = nullptr;
    QLabel* L_Server_List_Title = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Server = nullptr;
    TFormButton* Btn_Add_Server = nullptr;
    TFormButton* Btn_Modify_Server = nullptr;
    TFormButton* Btn_Delete_Server = nullptr;
    TFormButton* Btn_Scan_Server = nullptr;
    QSplitter* Splitter1 = nullptr;
    QWidget* P_OPC_UA_Var_List = nullptr;
    QLabel* L_Variables_List_Title = nullptr;
    QTabWidget* PC_OPC_UA_Vars = nullptr;
    QWidget* TS_OPC_UA_Var_Read = nullptr;
    QWidget* TS_OPC_UA_Var_Write = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Var_R = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Var_W = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;
    TFormButton* Btn_DelRow = nullptr;
    TFormButton* Btn_InsRow = nullptr;
    TFormButton* Btn_CopyRow = nullptr;
    TFormButton* Btn_PasteRow = nullptr;
    TFormButton* Btn_AutoPosition = nullptr;

    // The sub-dialogs, made with the window.
    TFOPC_UA_Add_Server* FOPC_UA_Add_Server = nullptr;
    TFOPC_UA_Scan_Server* FOPC_UA_Scan_Server = nullptr;

private:
    void FormCreate();
    void FormShow() override;
    QString text(int n) const;
    void setupVarGrid(TExtColumnGrid* g, bool write);
    void eraseVarGrid(TExtColumnGrid* g);
    void fillVarGrid(TExtColumnGrid* g, const OpcUaVariableList& list, bool write);
    void saveVarGrid(TExtColumnGrid* g, OpcUaVariableList& list, bool write);
    // The server of the server grid's current row; -1 when the row holds none.
    int currentServer() const;
    TExtColumnGrid* activeVarGrid() const;
    void serverToDialog(const TOPC_UA_Server& s);
    void dialogToServer(TOPC_UA_Server& s) const;
    void addBrowsed(bool write, int server);
    void GridHint(QObject* Sender, int ARow, int ACol, QString& hintstr);

    RuleEditorContext m_ctx;
    std::unique_ptr<IOpcUaBrowser> m_ownedBrowser;
    IOpcUaBrowser* m_browser = nullptr;
    int m_shown = -1;
    QStringList m_copyBuffer;
    QStringList Hint_Server_List;
    QStringList Hint_Var_R_List;
    QStringList Hint_Var_W_List;
    // What the last opening could not read; saving over it needs a Yes.
    bool m_loadFailed = false;
};

}  // namespace zfw
