#pragma once
// "EtherNet/IP EDS Decode": lists the I/O connections an EDS file declares and lets the user
// choose the one a scanner rule is to use. Opened only by the scanner editor, which sets
// EDS_FileName before showing it and reads the chosen row and the identity after OK.

#include "controls/FormParts.h"
#include "editors/building/core/UEDSConnections.h"
#include "ruleedit/URuleEditorContext.h"

#include <QList>

class QLabel;
class QTimer;

namespace zfw {

class TExtStringGrid;

class TFEtherNEtIP_EDS final : public TModalForm {
    Q_OBJECT
public:
    explicit TFEtherNEtIP_EDS(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;
    void ShowDatainGrid();
    void TCloseTimer();

    QString EDS_FileName;
    QList<TConnData> List_Conn;
    std::uint16_t VendCode = 0;
    std::uint16_t ProdType = 0;
    std::uint16_t ProdCode = 0;
    std::uint8_t MajRev = 0;
    std::uint8_t MinRev = 0;

    // The identity as one record.
    EdsDeviceIdentity identity() const;
    // The connection of the grid's current row; null when none is chosen.
    const TConnData* chosenConnection() const;

    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    TExtStringGrid* ACG = nullptr;
    TFormButton* Btn_OK = nullptr;
    TFormButton* Btn_Cancel = nullptr;
    QTimer* TClose = nullptr;

protected:
    void FormShow() override;

private:
    void FormCreate();
    QString text(int n) const;

    RuleEditorContext m_ctx;
};

}  // namespace zfw
