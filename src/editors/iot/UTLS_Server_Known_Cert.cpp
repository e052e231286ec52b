#include "editors/iot/UTLS_Server_Known_Cert.h"

#include "common/UComon.h"
#include "grid/ExtGrid.h"

namespace zfw {

namespace {

RuleEditorNames names()
{
    RuleEditorNames n;
    n.form = "TFTLS_Server_Known_Cert";
    n.grids = {"ESG"};
    n.stringGrids = {true};
    n.clientWidth = 800;
    n.clientHeight = 337;
    return n;
}

constexpr int kHeaderHeight = 22;
// A certificate is many lines long: rows are high enough to show the start of several.
constexpr int kCertRowHeight = 60;

}  // namespace

TFTLS_Server_Known_Cert::TFTLS_Server_Known_Cert(const RuleEditorContext& context, QWidget* parent)
    : TRuleEditorFrame(context, names(), tlsKnownCertSpec(), parent)
{
}

void TFTLS_Server_Known_Cert::built() { ESG = gridOf(0); }

// The grid's rows are set up afresh at each opening, their heights with them.
void TFTLS_Server_Known_Cert::opened()
{
    ESG->SetRowHeights(0, kHeaderHeight);
    for (int r = 1; r <= kTLSCertRows; ++r)
        ESG->SetRowHeights(r, kCertRowHeight);
}

QString TFTLS_Server_Known_Cert::filePath() const { return context().state->File_TLS_Known_Cert; }

}  // namespace zfw
