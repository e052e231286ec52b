#pragma once
// The browse window: runs a browse of the server the editor hands over, lists the variables
// found and lets the user tick which go into the read list and which into the write list.
// The browse runs in the background; the window stays responsive, shows its waiting text,
// and Cancel ends the browse.

#include "controls/FormParts.h"
#include "editors/iot/core/UOpcUaBrowse.h"
#include "ruleedit/URuleEditorContext.h"

#include <QStringList>

#include <vector>

class QLabel;
class QTimer;

namespace zfw {

class TExtColumnGrid;

class TFOPC_UA_Scan_Server final : public TModalForm {
    Q_OBJECT
public:
    // browser: not owned; null makes every browse fail with text 5730.
    TFOPC_UA_Scan_Server(const RuleEditorContext& context, IOpcUaBrowser* browser,
                         QWidget* parent = nullptr);
    ~TFOPC_UA_Scan_Server() override;

    void Set_Lang() override;

    // Set by the editor before each showing.
    OpcUaBrowseRequest Server;
    // The variables of the last browse; kept between showings.
    std::vector<OpcUaBrowsedVariable> List_Var;

    void Erase_Table();
    void Show_Variables_List();
    void Timer_ScanTimer();
    // Select (on) or clear (off) column 1 (read) or 2 (write) of every row.
    void setAll(int column, bool on);
    // The variables whose read (or write) box is ticked, in list order.
    std::vector<const OpcUaBrowsedVariable*> ticked(bool write) const;
    // True while a browse runs.
    bool browsing() const { return m_browsing; }

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* LWaiting = nullptr;
    TExtColumnGrid* ACG_OPC_UA_Scan_Var = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;
    TFormButton* Btn_SelectAllRead = nullptr;
    TFormButton* Btn_ClearAllRead = nullptr;
    TFormButton* Btn_SelectAllWrite = nullptr;
    TFormButton* Btn_ClearAllWrite = nullptr;
    QTimer* Timer_Scan = nullptr;

private:
    void FormCreate();
    void FormShow() override;
    void browseDone(OpcUaBrowseResult result);
    void endBrowse();
    QString text(int n) const;
    void reject() override;

    RuleEditorContext m_ctx;
    IOpcUaBrowser* m_browser = nullptr;
    bool m_browsing = false;
    QStringList Hint_ACG;
};

}  // namespace zfw
