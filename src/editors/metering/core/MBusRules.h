#pragma once
// Checks of the M-Bus network editor: ranges of the node and variable pages, uniqueness of a
// wired node's address, and the Modbus register conflicts between nodes and variables. Each
// check returns the messages to show (texts of the language table, with the node and
// variable descriptions between their quotes); none shows anything itself.
//
// A time point occupies six registers (year to second). Every time-point test uses blocks of
// six: the old checks used five in three of the variable tests, so a value on the sixth
// register of a time point passed and two values landed in one register.

#include "editors/metering/core/MBusNetwork.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>

namespace zfw {

// Text number n of the language table.
using TextLookup = std::function<QString(int)>;

// The node page's fields as the user typed them.
struct TNodePage {
    bool wireless = false;  // M-Bus type "wM-Bus"; else "M-Bus on wires"

    // Wireless panel.
    QString manufacturerId;
    QString address;
    QString version;
    QString deviceType;
    bool keyEnable = false;
    std::array<QString, 16> key;
    QString wNodeState;
    QString wIdentNum;
    QString wRssi;
    QString wAccessNumber;

    // Wired panel.
    bool secondaryAddressing = false;  // "Secondary ID Node" chosen, else "Primary ID Node"
    QString primaryId;
    QString secondaryId;
    bool nodeStateChecked = false;
    QString nodeState;
    bool identNumChecked = false;
    QString identNum;
    bool accessNumberShown = true;
    bool accessNumberChecked = false;
    QString accessNumber;

    // Manufacturer-specific data (both types).
    bool msdShown = true;
    bool msdChecked = false;
    QString msdRegister;
    QString msdLength;
    QString msdOffset;
};

// The variable page's fields as typed, and the choices that decide which tests run.
struct TVarPage {
    QString positionData;
    QString storageNumber;
    QString tariff;
    bool variableLength = false;  // dimension "Variable Length"
    QString length;
    bool timePointType = false;  // type of data "Time Point"
    bool timePointChecked = false;
    QString timePointYear;
    QString positionVar;
};

struct RuleVerdict {
    bool ok = true;
    QStringList messages;  // in the order they are shown
};

struct RegisterConflict {
    bool conflict = false;
    QString message;
};

class TMBusRules {
public:
    // IND_NODO: the selected node (or the node of the selected variable), -1 for none;
    // IND_VAR: the selected variable in it, -1 for none. The rules read nodes in place, so
    // the list must outlive them.
    TMBusRules(const TNodiList& nodes, int IND_NODO, int IND_VAR, TextLookup text);

    RuleVerdict Controllo_Dati_New_Nodo(const TNodePage& page) const;
    // newvar: adding (true) or modifying the selected variable (false).
    RuleVerdict Controllo_Dati_New_Var(const TVarPage& page, bool newvar) const;
    // type_ID: 0 primary, 1 secondary. Ok when no other wired node uses the address.
    RuleVerdict Check_Node_ID(int ID, int type_ID) const;
    // Ok when no node at all (wired or wireless) uses the address.
    RuleVerdict Check_Node_ID2(int ID, int type_ID) const;
    // The first register of an enabled node or variable that collides with Reg_Mod, the
    // scale register Reg_RE_Mod (0: none) or the time-point block from Reg_TP (0: none).
    // With NewVar false the selected variable is left out.
    RegisterConflict Check_Registers(int Reg_Mod, int Reg_RE_Mod, int Reg_TP, bool NewVar) const;

private:
    QString t(int n) const { return m_text(n); }
    bool checkManufacturerData(const TNodePage& page, int nodeState, int identNum, int* msd,
                               RuleVerdict& v) const;

    const TNodiList& m_nodes;
    int m_node;
    int m_var;
    TextLookup m_text;
};

}  // namespace zfw
