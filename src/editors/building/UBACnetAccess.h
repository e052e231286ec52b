#pragma once
// "Set BACnet Access": the BACnet client's read and write rules of BACnet_Master_Access.xml,
// 512 each. Each opening reads the gateway's BACnet type from the general parameters: the
// device column holds IP addresses (BACnet/IP) or slave IDs (MS/TP) and ends the rule list,
// or is hidden for any other type. "Import EDE" adds rules for the objects of another
// device's EDE file.

#include "editors/building/core/BACnetClientRules.h"
#include "platform/FileDialogs.h"
#include "ruleedit/URuleEditorFrame.h"

namespace zfw {

class TFImportEDEFile;

class TFBACnetAccess final : public TRuleEditorFrame {
    Q_OBJECT
public:
    explicit TFBACnetAccess(const RuleEditorContext& context, QWidget* parent = nullptr);

    void Set_Lang() override;

    // The EDE import: the file, the import dialog, the new rules.
    void Btn_Import_CSVClick();

    // Null until the first showing.
    QTabWidget* PageControl1 = nullptr;
    QWidget* TS_BACnet_Read = nullptr;
    QWidget* TS_BACnet_Write = nullptr;
    TRuleGrid* ACG1 = nullptr;
    TRuleGrid* ACG2 = nullptr;
    TLbButton* Btn_Import_CSV = nullptr;

    // The gateway's BACnet side, read at each opening: 0 BACnet/IP, 1 MS/TP.
    int App_BACnet_Type = kBACnetTypeIp;
    // The open dialog of the import; its folder follows the last file chosen.
    FileDialogRequest OD_EDE_File;

    // The import dialog this window opens; it lives as long as the window.
    TFImportEDEFile* importDialog() const { return m_import; }

    // Client width for a screen of the given width.
    static int clientWidthFor(int screenWidth);

protected:
    RuleFileSpec prepareOpening() override;
    QString filePath() const override;
    void built() override;
    void extraButtonClick(int index) override;
    void cellHint(int table, int ACol, int ARow, QString& hint) override;

private:
    void clearButtonHints();

    TFImportEDEFile* m_import = nullptr;
};

}  // namespace zfw
