#include "editors/building/UEtherNetIP_Master_Access.h"

#include "common/UComon.h"
#include "editors/building/UEtherNetIP_Data_Seg.h"
#include "editors/building/UEtherNetIP_EDS.h"
#include "editors/building/core/UEtherNetIPImport.h"
#include "grid/ColumnGrid.h"
#include "platform/Dialogs.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFEtherNetIP_Master_Access";
    n.grids = {"ACG"};
    n.clientWidth = 1180;
    n.clientHeight = 337;
    n.extraButtons = {{"Btn_Import_EDS", 4159, 4160}};
    return n;
}

}  // namespace

TFEtherNetIP_Master_Access::TFEtherNetIP_Master_Access(const RuleEditorContext& context,
                                                       QWidget* parent)
    : TRuleEditorFrame(context, names(), etherNetIPRuleSpec(), parent),
      m_chooser(new TFEtherNEtIP_EDS(context, this)),
      m_dataSeg(new TFEtherNetIP_Data_Seg(context, this))
{
}

TFEtherNetIP_Master_Access::~TFEtherNetIP_Master_Access() = default;

void TFEtherNetIP_Master_Access::built()
{
    ACG = grid(0);
    Btn_Import_EDS = extraButton("Btn_Import_EDS");
}

QString TFEtherNetIP_Master_Access::filePath() const
{
    return context().state->File_EtherNetIP_Master_Rules;
}

RuleFileSpec TFEtherNetIP_Master_Access::prepareOpening()
{
    Num_Byte_In = kEtherNetIPMaxBytes;
    Num_Byte_Out = kEtherNetIPMaxBytes;
    return etherNetIPRuleSpec(Num_Byte_In, Num_Byte_Out);
}

std::optional<TTargetConfig> TFEtherNetIP_Master_Access::ArrTargetConf(int row) const
{
    const RuleFile* file = ruleFile();
    if (!file || file->tables.empty())
        return std::nullopt;
    return rowTargetConfig(file->tables[0], row);
}

void TFEtherNetIP_Master_Access::takeGrid()
{
    RuleTable& t = model()->file().tables[0];
    TExtStringGrid* g = gridOf(0);
    for (int r = 1; r < t.rowCount(); ++r)
        for (int c = 1; c < t.columnCount(); ++c)
            t.setCell(c, r, g->Cells(c, r));
}

void TFEtherNetIP_Master_Access::showRow(int row)
{
    const RuleTable& t = model()->file().tables[0];
    TExtStringGrid* g = gridOf(0);
    for (int c = 1; c < t.columnCount(); ++c)
        g->SetCells(c, row, t.cell(c, row));
}

void TFEtherNetIP_Master_Access::extraButtonClick(int index)
{
    if (index == 0)
        Btn_Import_EDSClick();
}

void TFEtherNetIP_Master_Access::Btn_Import_EDSClick()
{
    if (!model())
        return;
    FileDialogRequest request;
    request.filter = QStringLiteral("EtherNet/IP EDS (*.eds)|*.eds");
    const auto path = dialogs().openFileName(request, this);
    if (!path)
        return;
    m_chooser->EDS_FileName = *path;
    if (dialogs().showModal(*m_chooser) != mrOk)
        return;
    const TConnData* conn = m_chooser->chosenConnection();
    if (!conn)
        return;
    takeGrid();
    const EdsImportResult result = importEdsTarget(model()->file().tables[0], *conn,
                                                   m_chooser->identity(), *path);
    if (result.row == 0)
        return;
    showRow(result.row);
    if (!result.error.isEmpty())
        dialogs().showError(result.error, this);
}

bool TFEtherNetIP_Master_Access::cellDoubleClick(int table, int ACol, int ARow)
{
    if (!model() || table != 0 || ACol != kEtherNetIPDataSegmentColumn)
        return false;
    RuleTable& t = model()->file().tables[0];
    auto config = rowTargetConfig(t, ARow);
    if (!config)
        return false;
    m_dataSeg->TC = TFEtherNetIP_Data_Seg::CopyTargetConf(*config);
    if (dialogs().showModal(*m_dataSeg) == mrOk) {
        takeEditedValues(*config, m_dataSeg->TC);
        setRowTargetConfig(t, ARow, config);
        t.setCell(ACol, ARow, config->GetConfigStrData());
        gridOf(0)->SetCells(ACol, ARow, t.cell(ACol, ARow));
    }
    m_dataSeg->TC = TTargetConfig();
    return true;
}

}  // namespace zfw
