#pragma once
// The program's string grid: the base grid with the settings every rule editor relies on, the
// settings objects it owns, and the steps it runs once its owner has set its properties.
// Painting, input, editing and data operations build on it in files of their own.

#include "grid/BaseGrid.h"
#include "grid/GridSettings.h"

#include <QFont>
#include <QPoint>
#include <QStringList>

namespace zfw {

class TExtStringGrid : public TBaseGrid {
    Q_OBJECT
public:
    explicit TExtStringGrid(QWidget* parent = nullptr);
    ~TExtStringGrid() override;

    // ----- owned settings objects -----
    TNavigation Navigation;
    TMouseActions MouseActions;
    TSearchFooter SearchFooter;
    TSyncGrid SyncGrid;
    TBands Bands;
    TFocusHelper FocusHelper;
    QFont FixedFont;
    QFont ActiveCellFont;

    // ----- settings with their starting values -----
    bool ActiveCellShow = false;
    TColor ActiveCellColor = 0x808080;
    TColor ActiveCellColorTo = clNone;
    TEditorType DefaultEditor = TEditorType::edNormal;
    TAlignment DefaultAlignment = TAlignment::taLeftJustify;
    TVAlignment VAlignment = TVAlignment::vtaTop;
    // Text colour while the grid is disabled.
    TColor DisabledFontColor = 0xC0C0C0;
    bool UseDisabledFont = true;
    TColor HintColor = clInfoBk;
    TColor HighlightColor = clHighlight;
    TColor HighlightTextColor = clHighlightText;
    TColor SelectionColor = 0xEACAB6;
    TColor SelectionColorTo = clNone;
    TColor SelectionMirrorColor = clNone;
    TColor SelectionMirrorColorTo = clNone;
    TColor SelectionTextColor = 0;
    int SelectionColorMixerFactor = 50;
    bool ShowSelection = true;
    bool HideFocusRect = false;
    bool FixedAsButtons = false;
    bool EnableHTML = true;
    TColor URLColor = 0xFF0000;
    bool EnableWheel = true;
    bool IntelliZoom = true;
    bool Flat = false;
    QString FloatFormat = QStringLiteral("%.2f");
    QChar PasswordChar = u'*';
    QString CheckTrue = QStringLiteral("Y");
    QString CheckFalse = QStringLiteral("N");
    QString FilterDropDownClear = QStringLiteral("(All)");
    bool FilterNormalCellsOnly = true;
    bool AutoFilterUpdate = true;
    bool ShowDesignHelper = true;
    bool EnhRowColMove = true;
    // Sizes all normal columns to their contents in Loaded.
    bool AutoSize = false;
    // Offset of the text inside a cell, in pixels.
    QPoint XYOffset{2, 2};
    // 0: no limit.
    int MinRowHeight = 0;
    int MaxRowHeight = 0;
    int MinColWidth = 0;
    int MaxColWidth = 0;

    // Header texts of row 0 and column 0; a write shows them at once.
    const QStringList& ColumnHeaders() const { return store().ColumnHeaders(); }
    void SetColumnHeaders(const QStringList& Value) { store().SetColumnHeaders(Value); }
    const QStringList& RowHeaders() const { return store().RowHeaders(); }
    void SetRowHeaders(const QStringList& Value) { store().SetRowHeaders(Value); }

    // ----- lifecycle -----
    // Runs once the owner has set the properties: headers shown, columns auto-sized, the
    // loaded minimums recorded, goAlwaysShowEditor turned into Navigation.AlwaysEdit.
    void Loaded() override;
    bool isLoaded() const { return m_loaded; }
    // Recorded by Loaded: the smallest row height and column width sizing may give.
    int loadedMinRowHeight() const { return m_loadedMinRowHeight; }
    int loadedMinColWidth() const { return m_loadedMinColWidth; }
    // Sizes every column (the fixed ones only with DoFixedCols) to its widest text plus
    // Padding pixels.
    void AutoSizeColumns(bool DoFixedCols, int Padding);

    // ----- version -----
    virtual int GetVersionNr() const { return 0x06020103; }
    // "major.minor.release.build Sep, 2012".
    virtual QString GetVersionString() const;
    // The four numbers alone; writing it changes nothing.
    QString Version() const;
    void SetVersion(const QString&) {}

private:
    bool m_loaded = false;
    int m_loadedMinRowHeight = 0;
    int m_loadedMinColWidth = 0;
};

}  // namespace zfw
