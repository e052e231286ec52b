#include "grid/GridLook.h"

#include "grid/EsgHTMLE.h"
#include "grid/ExtStyleIF.h"
#include "grid/ExtUtil.h"

#include <QFontMetrics>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zfw {

// ----- TControlLook -----

void TControlLook::Init()
{
    FColor = clBlack;
    FCommentColor = clRed;
    ProgressBorderColor = clGray;
    for (TColor& c : FGradient)
        c = clNone;
    FGradient[int(TFixedGradient::HoverFrom)] = clWhite;
    FGradient[int(TFixedGradient::HoverTo)] = clGray;
    FGradient[int(TFixedGradient::HoverBorder)] = clSilver;
    FGradient[int(TFixedGradient::DownFrom)] = clSilver;
    FGradient[int(TFixedGradient::DownTo)] = clGray;
    FGradient[int(TFixedGradient::DownBorder)] = clGray;
}

namespace {

bool isMirrorRole(TFixedGradient role)
{
    switch (role) {
    case TFixedGradient::MirrorFrom:
    case TFixedGradient::MirrorTo:
    case TFixedGradient::HoverMirrorFrom:
    case TFixedGradient::HoverMirrorTo:
    case TFixedGradient::DownMirrorFrom:
    case TFixedGradient::DownMirrorTo: return true;
    default: return false;
    }
}

}  // namespace

void TControlLook::SetFixedGradient(TFixedGradient Role, TColor Value)
{
    FGradient[int(Role)] = Value;
    if ((Value != clNone || isMirrorRole(Role)) && OnFixedGradient)
        OnFixedGradient(this, Role, Value);
}

void TControlLook::Assign(const TControlLook& Source)
{
    if (&Source == this)
        return;
    FCheckSize = Source.FCheckSize;
    FRadioSize = Source.FRadioSize;
    FControlStyle = Source.FControlStyle;
    FCheckedGlyph = Source.FCheckedGlyph;
    FUnCheckedGlyph = Source.FUnCheckedGlyph;
    FRadioOnGlyph = Source.FRadioOnGlyph;
    FRadioOffGlyph = Source.FRadioOffGlyph;
    FProgressMarginX = Source.FProgressMarginX;
    FProgressMarginY = Source.FProgressMarginY;
    FCommentColor = Source.FCommentColor;
    FColor = Source.FColor;
    ProgressBorderColor = Source.ProgressBorderColor;
    CheckAlwaysActive = Source.CheckAlwaysActive;
    RadioAlwaysActive = Source.RadioAlwaysActive;
    for (int i = 0; i < kFixedGradientCount; ++i)
        SetFixedGradient(TFixedGradient(i), Source.FGradient[i]);
    FDropDownAlwaysVisible = Source.FDropDownAlwaysVisible;
    FSpinButtonsAlwaysVisible = Source.FSpinButtonsAlwaysVisible;
    DropDownCount = Source.DropDownCount;
    FDropDownFooter.Assign(Source.FDropDownFooter);
    FDropDownHeader.Assign(Source.FDropDownHeader);
    HintMaxWidth = Source.HintMaxWidth;
}

// ----- TShowModified -----

void TShowModified::SetColor(TColor Value)
{
    FColor = Value;
    if (OnChange)
        OnChange(this);
}

void TShowModified::Assign(const TShowModified& Source)
{
    Enabled = Source.Enabled;
    FColor = Source.FColor;
}

// ----- alignment -----

CellAlignment CalcCellAlignment(const CellAlignmentInput& in)
{
    CellAlignment a{in.defaultAlignment, in.vAlignment};
    bool formula = false;
    if (in.autoNumAlign) {
        QString s = in.text;
        if (s.startsWith(u"|\\"))
            s = UnpackWideText(s);
        if (s.startsWith(u'=')) {
            formula = true;
            s = in.filterCellText ? in.filterCellText() : QString();
        }
        const int kind = ClassifyNumberText(s.trimmed(), in.decimalSeparator, in.thousandSeparator);
        if (kind == nkInteger || kind == nkDecimal || kind == nkExponent)
            a.horizontal = TAlignment::taRightJustify;
    }
    if (in.cellAlignment && !formula)
        a.horizontal = *in.cellAlignment;
    return a;
}

// ----- text measuring -----

namespace {

// Lines as the grid breaks them: at CR, one LF after it belonging to the break.
QStringList cutLines(const QString& text)
{
    QStringList lines;
    QString rest = text;
    for (;;) {
        const qsizetype cr = rest.indexOf(u'\r');
        if (cr < 0) {
            lines << rest;
            return lines;
        }
        lines << rest.left(cr);
        rest = rest.mid(cr + 1);
        if (rest.startsWith(u'\n'))
            rest.remove(0, 1);
    }
}

// The same breaks in the form Qt's layout takes.
QString toQtBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

}  // namespace

QSize CalcCellTextSize(const CellTextSizeInput& in)
{
    QString text = in.text;
    const int kind = GetCellTextKind(text, in.enableHTML);
    if (kind == ctkFormula)
        text = in.filterCellText ? in.filterCellText() : text;
    else if (kind == ctkPackedWide)
        text = UnpackWideText(text);
    else if (kind == ctkMiniHtml)
        text = HtmlToPlainText(text);

    TRect r = in.cellRect;
    if (in.xyOffsetTopLeftOnly) {
        r.Left += in.xyOffset.x();
        r.Top += in.xyOffset.y();
    } else {
        r.Left += in.xyOffset.x();
        r.Right -= in.xyOffset.x();
        r.Top += in.xyOffset.y();
        r.Bottom -= in.xyOffset.y();
    }
    if (in.scrollBar)
        r.Right -= 17;

    const QFontMetrics fm(in.font);
    int w = 0;
    int h = 0;
    if (in.wrapped) {
        r.Left += 2;
        r.Right -= 2;
        QString laid = toQtBreaks(text);
        // An empty last line takes no room in the cell, but the editor shows it: while the
        // cell is edited it counts. Qt's layout counts it always, so it is dropped otherwise.
        if (laid.endsWith(u'\n')) {
            if (in.editingThisCell)
                laid += u'w';
            else
                laid.chop(1);
        }
        const int width = std::max(1, r.Width());
        const int flags = Qt::TextExpandTabs
                          | (in.rotation ? Qt::TextSingleLine : Qt::TextWordWrap);
        h = fm.boundingRect(QRect(0, 0, width, 1 << 20), flags, laid).height();
        w = r.Width();
    } else {
        const QStringList lines = in.multiLineCells ? cutLines(text) : QStringList{text};
        for (QString line : lines) {
            if (kind == ctkPlain && in.urlShow && !in.urlFull)
                line = StripUrlPrefix(line);
            w = std::max(w, fm.horizontalAdvance(line));
        }
        h = fm.height() * int(lines.size());
    }

    if (in.rotation) {
        // The box around a rotated w x h rectangle. The old measure subtracted the two
        // projections instead of adding them, which is right only at multiples of 90 degrees
        // and clipped rotated text everywhere between.
        const double a = *in.rotation * std::numbers::pi / 180.0;
        const auto part = [](double v) { return std::abs(int(v)); };
        const int rw = part(w * std::cos(a)) + part(h * std::sin(a)) + 12;
        const int rh = part(w * std::sin(a)) + part(h * std::cos(a)) + 12;
        return {rw, rh};
    }
    return {w, h};
}

// ----- the window border -----

namespace {

bool lookHasBorder(TGridLook look)
{
    switch (look) {
    case TGridLook::glSoft:
    case TGridLook::glVKT:
    case TGridLook::glXP:
    case TGridLook::glListView:
    case TGridLook::glVista:
    case TGridLook::glWin7:
    case TGridLook::glOffice2007: return true;
    default: return false;
    }
}

// A polyline whose segments leave out their end points, so that a closed outline draws each
// corner once.
void polyline(IGridCanvas& canvas, std::initializer_list<QPoint> points, TColor color)
{
    const QPoint* prev = nullptr;
    for (const QPoint& p : points) {
        if (prev)
            canvas.line(prev->x(), prev->y(), p.x(), p.y(), color);
        prev = &p;
    }
}

}  // namespace

void PaintControlBorder(IGridCanvas& canvas, const ControlBorderInput& in)
{
    if (!lookHasBorder(in.look) || !in.hasBorder || in.borderColor == clNone || in.flat)
        return;
    const int W = in.width;
    const int H = in.height;
    if (in.fitCellsInGrid) {
        polyline(canvas, {{1, H}, {1, 1}, {W - 2, 1}, {W - 2, H - 2}, {1, H - 2}}, in.borderColor);
        if (in.hasParent)
            polyline(canvas, {{0, H}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}},
                     in.parentColor);
    } else if (IsComCtl32V6()) {
        polyline(canvas, {{0, H - 1}, {0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}},
                 in.borderColor);
    }
}

}  // namespace zfw
