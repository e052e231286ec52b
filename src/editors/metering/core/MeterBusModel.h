#pragma once
// The network editor without its window: the network, the selection (IND_NODO, IND_VAR), the
// node and variable pages as plain values, and the edits (add, modify, delete, copy, paste,
// import). The window shows what this holds and hands it what the user typed; every message
// comes back as a text for the window to show.

#include "editors/metering/core/MBusNetwork.h"
#include "editors/metering/core/MBusRules.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace zfw {

// The node page, wired rows and wireless panel, with numbers as typed.
struct TNodePageValues {
    bool Enable = false;
    QString Description;
    int MBus_Type = 1;             // list index: 0 "wM-Bus", 1 "M-Bus on wires"
    bool secondaryChosen = false;  // "Secondary ID Node", else "Primary ID Node"
    QString Node_Pri = QStringLiteral("1");
    QString Node_Sec = QStringLiteral("1");
    bool Enable_NS = false;
    QString Node_State = QStringLiteral("1");
    bool Enable_IN = false;
    QString Ident_Num = QStringLiteral("1");
    bool BCDtoINT_IN = false;
    int Swap_Ident = 0;
    bool Send_SNK = false;
    bool Reset_App = false;
    int Var_List_Type = 0;
    int Cut_After = 0;  // list index: "1" to "250"
    bool Enable_MS = false;
    QString Manufacturer_Spec = QStringLiteral("1");
    QString MSD_Length = QStringLiteral("1");
    QString MSD_Offset = QStringLiteral("1");
    bool Enable_AN = false;
    QString Access_Number = QStringLiteral("1");

    // Wireless panel.
    QString wMBus_ManID;
    QString wMBus_Add;
    QString wMBus_Ver;
    QString wMBus_DevType;
    bool wMBus_En_Key = false;
    std::array<QString, 16> wMBus_Key;
    bool wEnable_NS = false;
    QString wNode_State;
    bool wEnable_IN = false;
    QString wIdent_Num;
    bool wEnable_RSSI = false;
    QString wRSSI;
    bool wEnable_AN = false;
    QString wAccess_Number;
    bool wBCDtoINT_IN = false;
    int wSwap_Ident = 0;
    int wVar_List_Type = 0;

    bool wireless() const { return MBus_Type == 0; }
    bool operator==(const TNodePageValues&) const = default;
};

// The variable page, numbers as typed; list choices as indices.
struct TVarPageValues {
    bool Enable = true;
    QString Description;
    int Type_Of_Data = 0;
    int Function_Field = 0;
    int Dimension = 0;
    int Unita = 0;
    QString PositionData;
    QString Storage_Number = QStringLiteral("0");
    QString Tariff = QStringLiteral("0");
    int VIFE = 0;  // -1 when nothing is chosen
    bool BCDtoINT = false;
    QString VIF_ASCII;
    QString Length = QStringLiteral("0");
    bool Conv_Float = false;
    bool Force_Int32 = false;
    bool TP_Mod_Regs = false;
    QString TP_Mod_Year = QStringLiteral("1");
    QString Position = QStringLiteral("1");
    int Post_Operation = 0;

    bool operator==(const TVarPageValues&) const = default;
};

// The five read-only boxes after the year register: y+1 to y+5, or "0" in all five when the
// register is no whole number or at most 0.
std::array<QString, 5> timePointBoxes(const QString& year);

// Tree texts.
QString nodeItemText(const TNodo& node);
QString variableItemText(const TVariabile& var);

TNodePageValues nodePageOf(const TNodo& node);
TVarPageValues varPageOf(const TVariabile& var);
// The page's values on a node. Numbers the rules do not examine (a hidden address, a
// register whose box is off) become 0 when they are not whole numbers; base keeps the fields
// the page does not show (a wired node's RSSI).
TNodo nodeFromPage(const TNodePageValues& page, const TNodo& base = {});
TVariabile varFromPage(const TVarPageValues& page);
// The pages as the rules read them.
TNodePage rulesNodePage(const TNodePageValues& page);
TVarPage rulesVarPage(const TVarPageValues& page);

// What the paste dialog is filled with, and what it gives back after OK.
struct TPasteRow {
    int kind = 0;                  // language text of column "Desc. Reg.": 1902, 1903 or 1904
    std::optional<QString> index;  // column "Index"; none: the cell keeps what it held
    QString description;
};

struct TPasteRequest {
    int Form_Type = 2;  // 1 wired node, 2 variable, 3 wireless node
    bool secondaryChosen = false;
    QString Node_Pri;
    QString Node_Sec;
    QString wMBus_Add;
    QString Node_State;
    QString Ident_Num;
    QString RSSI;
    std::vector<TPasteRow> rows;  // below the header; one empty row for a node without variables
};

struct TPasteAnswer {
    bool secondaryChosen = false;
    QString Node_Pri;
    QString Node_Sec;
    QString wMBus_Add;
    QString Node_State;
    QString Ident_Num;
    QString RSSI;
    std::vector<QString> index;  // column "Index" of the rows below the header
};

// The result of an edit: the messages to show in order, and whether anything changed.
struct TEditOutcome {
    bool done = false;
    QStringList errors;
};

class TMeterBusModel {
public:
    explicit TMeterBusModel(TextLookup text);

    // ----- network
    TNodiList Nodi_List;
    int IND_NODO = -1;
    int IND_VAR = -1;
    bool Is_Change = false;
    // Copy buffers: they belong to the window and outlive its closing.
    std::optional<TVariabile> Copy_Var;
    std::optional<TNodo> Copy_Node;

    // Opening: reads the file afresh (a missing file is an empty network); the selection
    // is cleared. The load result carries a reading error; the nodes read so far stay.
    MBusNetworkLoad open(const QString& path);
    FileResult save(const QString& path) const;

    // ----- selection: node index (-1 none) and variable index in it (-1 none)
    void select(int node, int var);
    bool nodeSelected() const { return validNode(IND_NODO) && IND_VAR < 0; }
    bool variableSelected() const { return validNode(IND_NODO) && IND_VAR >= 0; }

    // The pages for the selection; nullopt leaves the page as it is (nothing selected).
    std::optional<TNodePageValues> nodePage() const;
    std::optional<TVarPageValues> varPage() const;
    // The variable list layout of the selected node (0 By Type, 1 By Position); 0 when none.
    int selectedListType() const;

    // ----- edits. The caption decides add (equal to text 1723 or 1748) or modify.
    TEditOutcome nodeButton(const QString& caption, const TNodePageValues& page);
    TEditOutcome variableButton(const QString& caption, const TVarPageValues& page);
    // The question to ask before deleting the selection (1893, 1894 or 1895).
    int deleteQuestion() const;
    // Deletes after a Yes: the whole network, the selected node or the selected variable.
    void deleteSelected();

    TEditOutcome copyVariable();
    TEditOutcome copyNode();
    // The dialog's filling, or the error to show instead.
    std::optional<TPasteRequest> pasteVariableRequest(QString* error) const;
    std::optional<TPasteRequest> pasteNodeRequest(QString* error) const;
    void applyPasteVariable(const TPasteAnswer& answer);
    void applyPasteNode(const TPasteAnswer& answer);

    TMBusRules rules() const { return TMBusRules(Nodi_List, IND_NODO, IND_VAR, m_text); }
    QString text(int n) const { return m_text(n); }

private:
    bool validNode(int i) const { return i >= 0 && std::size_t(i) < Nodi_List.size(); }
    std::vector<TPasteRow> pasteRows(const std::vector<TVariabile>& vars) const;

    TextLookup m_text;
};

// Import of a network file over the project's. Picking the project's own file changes
// nothing. Otherwise the picked file is copied to a temporary file in the project folder,
// which then replaces the project's file in one step.
//
// The old import deleted the project's file before copying, so picking that same file, or
// a copy that failed, lost the network. Here a failure leaves the old file as it was.
struct ImportResult {
    bool ok = true;
    bool sameFile = false;
    QString message;  // names the file on failure
};
ImportResult importNetworkFile(const QString& picked, const QString& projectFile);

}  // namespace zfw
