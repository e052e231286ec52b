// The string grid's construction and lifecycle. Process-wide set-up that the grid had
// elsewhere (a thread window hook, class registration, OLE) has no counterpart here: the
// grid needs no state outside its own object.

#include "grid/ExtGrid.h"

#include <QFontMetrics>

namespace zfw {

TExtStringGrid::TExtStringGrid(QWidget* parent) : TBaseGrid(parent), SyncGrid(this)
{
    Navigation.OnChange = [this](TNavigation*) { Invalidate(); };
    MouseActions.OnChange = [this](TMouseActions*) { Invalidate(); };
    Bands.OnChange = [this](TBands*) { Invalidate(); };

    FixedFont.setFamily(QStringLiteral("Tahoma"));
    FixedFont.setBold(true);
    ActiveCellFont.setBold(true);

    store().SetWordWrap(true);
    SetScrollBars(ssBoth);
    SetRowCount(10);
    resize(400, 250);
    SetDefaultRowHeight(22);
    store().SetFixedRowHeight(22);
}

TExtStringGrid::~TExtStringGrid() = default;

void TExtStringGrid::Loaded()
{
    TBaseGrid::Loaded();
    store().ShowColumnHeaders();
    store().ShowRowHeaders();
    if (AutoSize)
        AutoSizeColumns(false, 4);
    m_loadedMinRowHeight = DefaultRowHeight();
    m_loadedMinColWidth = 10;
    m_loaded = true;
    if (Options().testFlag(goAlwaysShowEditor)) {
        // The grid opens its own editors: always-edit is a navigation setting here.
        Navigation.AlwaysEdit = true;
        TGridOptions o = Options();
        o.setFlag(goAlwaysShowEditor, false);
        SetOptions(o);
    }
}

void TExtStringGrid::AutoSizeColumns(bool DoFixedCols, int Padding)
{
    const QFontMetrics normal(font());
    const QFontMetrics fixed(FixedFont);
    for (int DCol = DoFixedCols ? 0 : FixedCols(); DCol < ColCount(); ++DCol) {
        const int ACol = RealColIndex(DCol);
        int widest = 0;
        for (int r = 0; r < RowCount(); ++r) {
            const QFontMetrics& fm = r < FixedRows() || DCol < FixedCols() ? fixed : normal;
            for (const QString& line : GetCellEx(ACol, r).split(u'\n'))
                widest = std::max(widest, fm.horizontalAdvance(line));
        }
        if (widest > 0)
            SetColWidths(DCol, widest + Padding);
    }
}

QString TExtStringGrid::Version() const
{
    const int v = GetVersionNr();
    return QStringLiteral("%1.%2.%3.%4")
        .arg((v >> 24) & 0xFF)
        .arg((v >> 16) & 0xFF)
        .arg((v >> 8) & 0xFF)
        .arg(v & 0xFF);
}

QString TExtStringGrid::GetVersionString() const
{
    return Version() + QStringLiteral(" Sep, 2012");
}

}  // namespace zfw
