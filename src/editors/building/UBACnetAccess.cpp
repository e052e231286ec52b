#include "editors/building/UBACnetAccess.h"

#include "common/UComon.h"
#include "common/UComonValidators.h"
#include "controls/LbButton.h"
#include "editors/building/UImportEDEFile.h"
#include "editors/building/core/BACnetEde.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

namespace zfw {

namespace {

constexpr int kReadTable = 0;

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFBACnetAccess";
    n.pageControl = "PageControl1";
    n.tabs = {"TS_BACnet_Read", "TS_BACnet_Write"};
    n.grids = {"ACG1", "ACG2"};
    const QScreen* screen = QGuiApplication::primaryScreen();
    n.clientWidth = TFBACnetAccess::clientWidthFor(screen ? screen->geometry().width() : 1280);
    n.clientHeight = 337;
    RuleGridEvents events;
    events.enterJump = false;
    events.rowSelect = false;
    events.autoSizeOnDoubleClick = false;
    n.gridEvents = {events, events};
    n.rowTools = {true, true, false, false};
    n.extraButtons = {{"Btn_Import_CSV", 1359, 0}};
    return n;
}

// The folder of a chosen file, as the open dialog starts in it next time.
QString folderOf(const QString& path) { return QFileInfo(path).absolutePath(); }

}  // namespace

int TFBACnetAccess::clientWidthFor(int screenWidth) { return screenWidth <= 1270 ? 1000 : 1305; }

TFBACnetAccess::TFBACnetAccess(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), bacnetClientRuleSpec(), parent)
{
    OD_EDE_File.filter = QStringLiteral("BACnet EDE File (*.csv)|*.csv");
    OD_EDE_File.folder = context.state->Dir_Last_EDE_Import;
    m_import = new TFImportEDEFile(context, this);
}

void TFBACnetAccess::Set_Lang()
{
    TRuleEditorFrame::Set_Lang();
    clearButtonHints();
    if (m_import)
        m_import->Set_Lang();
}

// The window's buttons have no hints in its language block.
void TFBACnetAccess::clearButtonHints()
{
    if (!isBuilt())
        return;
    for (TLbButton* b : {Btn_OK, Btn_Cancel, Btn_DelRow, Btn_InsRow, Btn_CopyRow, Btn_PasteRow,
                         extraButton("Btn_Import_CSV")})
        b->setToolTip(QString());
}

void TFBACnetAccess::built()
{
    PageControl1 = pageControl();
    TS_BACnet_Read = PageControl1->widget(0);
    TS_BACnet_Write = PageControl1->widget(1);
    ACG1 = grid(0);
    ACG2 = grid(1);
    Btn_Import_CSV = extraButton("Btn_Import_CSV");
    clearButtonHints();
}

QString TFBACnetAccess::filePath() const { return context().state->File_BACnet_Master_Access; }

RuleFileSpec TFBACnetAccess::prepareOpening()
{
    const std::optional<int> type = readBACnetMasterType(context().state->File_ParGen);
    if (!type)
        dialogs().showError(text(kBACnetTextNoMasterType), this);
    App_BACnet_Type = type.value_or(kBACnetTypeIp);
    return bacnetClientRuleSpec(App_BACnet_Type, Get_Decimal_Separator());
}

void TFBACnetAccess::cellHint(int table, int ACol, int ARow, QString& hint)
{
    if (table != kReadTable)
        return;
    const RuleTableSpec& spec = layout().tables[table];
    if (ACol != spec.col(u"NumByte"))
        return;
    const TExtStringGrid* g = gridOf(table);
    hint = Str_Hint_Read(g->GetCellEx(spec.col(u"Object_Type"), ARow),
                         g->GetCellEx(spec.col(u"Property"), ARow));
}

void TFBACnetAccess::extraButtonClick(int) { Btn_Import_CSVClick(); }

void TFBACnetAccess::Btn_Import_CSVClick()
{
    ProgramState& s = *context().state;
    m_import->App_BACnet_Type = App_BACnet_Type;
    OD_EDE_File.folder = s.Dir_Last_EDE_Import;
    const std::optional<QString> chosen = dialogs().openFileName(OD_EDE_File, this);
    if (!chosen)
        return;
    // The folder is remembered whatever happens next, so that the next import starts there.
    s.Dir_Last_EDE_Import = folderOf(*chosen);
    OD_EDE_File.folder = s.Dir_Last_EDE_Import;
    if (!QFileInfo::exists(*chosen))
        return;
    m_import->EDE_File = *chosen;
    if (dialogs().showModal(*m_import) != mrOk)
        return;

    // The rules as the grids hold them, imported into, then shown again.
    RuleFile file(layout());
    for (int t = 0; t < tableCount(); ++t) {
        const TExtStringGrid* g = gridOf(t);
        RuleTable& table = file.tables[std::size_t(t)];
        for (int r = 1; r < table.rowCount(); ++r)
            for (int c = 1; c < table.columnCount(); ++c)
                table.setCell(c, r, g->GetCellEx(c, r));
    }
    const EdeImportResult result = importEdeObjects(file.tables[0], file.tables[1],
                                                    m_import->List_EDE_Var,
                                                    m_import->E_ID_IP_text());
    if (result.faultText) {
        dialogs().showError(text(result.faultText), this);
        return;
    }
    const std::pair<int, int> filled[] = {{result.firstReadRow, result.readRows},
                                          {result.firstWriteRow, result.writeRows}};
    for (int t = 0; t < tableCount(); ++t) {
        const auto [first, count] = filled[t];
        if (count == 0)
            continue;
        TExtStringGrid* g = gridOf(t);
        const RuleTable& table = file.tables[std::size_t(t)];
        g->BeginUpdate();
        for (int r = first; r < first + count; ++r)
            for (int c = 1; c < table.columnCount(); ++c)
                g->SetCellEx(c, r, table.cell(c, r));
        g->EndUpdate();
    }
}

}  // namespace zfw
