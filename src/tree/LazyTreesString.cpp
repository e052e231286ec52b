#include "tree/LazyTreesString.h"

#include "tree/LazyTreesUtils.h"
#include "tree/core/LazyTreesGuard.h"

#include <QEvent>
#include <QFontMetrics>

#include <algorithm>
#include <cstring>

namespace zfw {

TCustomLazyStringTree::TCustomLazyStringTree(QWidget* parent) : TBaseLazyTree(parent)
{
    FInternalDataOffset = AllocateInternalData(sizeof(std::uint32_t));
    const QFontMetrics fm(font());
    FTextHeight = fm.ascent() + fm.descent();
    FEllipsisWidth = fm.horizontalAdvance(QStringLiteral("..."));
}

TCustomLazyStringTree::~TCustomLazyStringTree() = default;

void TCustomLazyStringTree::SetStringOptions(TLTStringOptions value)
{
    if (FStringOptions == value)
        return;
    FStringOptions = value;
    Invalidate();
}

void TCustomLazyStringTree::SetDefaultText(const QString& text)
{
    if (FDefaultText == text)
        return;
    FDefaultText = text;
    resetWidths();
    Invalidate();
}

std::uint32_t TCustomLazyStringTree::cachedTextWidth(PLazyNode node) const
{
    if (!node || node == RootNode())
        return 0;
    std::uint32_t w = 0;
    std::memcpy(&w,
                reinterpret_cast<const char*>(node) + sizeof(TLazyNode)
                    + std::size_t(std::max(0, FNodeDataSize)) + FInternalDataOffset,
                sizeof w);
    return w;
}

void TCustomLazyStringTree::setCachedTextWidth(PLazyNode node, std::uint32_t width)
{
    if (!node || node == RootNode())
        return;
    std::memcpy(reinterpret_cast<char*>(node) + sizeof(TLazyNode)
                    + std::size_t(std::max(0, FNodeDataSize)) + FInternalDataOffset,
                &width, sizeof width);
}

void TCustomLazyStringTree::resetWidths()
{
    for (PLazyNode n = GetFirstNoInit(); n; n = GetNextNoInit(n))
        setCachedTextWidth(n, 0);
}

void TCustomLazyStringTree::changeEvent(QEvent* event)
{
    TBaseLazyTree::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        const QFontMetrics fm(font());
        FTextHeight = fm.ascent() + fm.descent();
        FEllipsisWidth = fm.horizontalAdvance(QStringLiteral("..."));
        resetWidths();
    }
}

void TCustomLazyStringTree::InitNode(PLazyNode node)
{
    setCachedTextWidth(node, 0);
    TBaseLazyTree::InitNode(node);
}

void TCustomLazyStringTree::DoGetText(PLazyNode node, TColumnIndex column, QString& cellText,
                                      QString& staticText)
{
    if (!node->has(vsInitialized))
        InitNode(node);
    if (OnGetCellText) {
        TVSTGetCellTextEventArgs e{node, column, cellText, staticText, m_textExportType};
        OnGetCellText(*this, e);
        cellText = e.CellText;
        staticText = e.StaticText;
    } else if (OnGetText) {
        OnGetText(*this, node, column, ttNormal, cellText);
        OnGetText(*this, node, column, ttStatic, staticText);
    }
}

QString TCustomLazyStringTree::GetText(PLazyNode node, TColumnIndex column)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    QString text = FDefaultText;
    QString staticText;
    DoGetText(node, column, text, staticText);
    return text;
}

QString TCustomLazyStringTree::GetStaticText(PLazyNode node, TColumnIndex column)
{
    if (!node)
        lazyTreeAssert("Node must not be nil.");
    QString text;
    QString staticText;
    DoGetText(node, column, text, staticText);
    return staticText;
}

void TCustomLazyStringTree::DoNewText(PLazyNode node, TColumnIndex column, const QString& text)
{
    if (OnNewText)
        OnNewText(*this, node, column, text);
    if (!IsUpdating())
        UpdateHorizontalRange();
}

void TCustomLazyStringTree::SetText(PLazyNode node, TColumnIndex column, const QString& value)
{
    DoNewText(node, column, value);
    setCachedTextWidth(node, 0);
    InvalidateNode(node);
}

QString TCustomLazyStringTree::Path(PLazyNode node, TColumnIndex column, QChar delimiter)
{
    if (!node || node == RootNode())
        return QString(delimiter);
    QString result;
    for (PLazyNode run = node; run && run != RootNode(); run = run->Parent)
        result = GetText(run, column) + delimiter + result;
    return result;
}

void TCustomLazyStringTree::DoPaintText(PLazyNode node, ICanvas& canvas, TColumnIndex column,
                                        TVSTTextType textType)
{
    if (OnPaintText)
        OnPaintText(*this, canvas, node, column, textType);
}

int TCustomLazyStringTree::CalculateTextWidth(PLazyNode node, const QString& text,
                                              TColumnIndex column)
{
    if (text.isEmpty())
        return 2 * FTextMargin;
    const QFontMetrics fm(font());
    if (node && node->has(vsMultiline)) {
        // A multi-line node wraps within the row, so it asks only for its widest word: its
        // one-line width would widen the tree until nothing wraps.
        int widest = 0;
        for (const QString& word : text.split(QLatin1Char(' ')))
            widest = std::max(widest, fm.horizontalAdvance(word));
        return 2 * FTextMargin + widest;
    }
    if (!OnMeasureTextWidth)
        return 2 * FTextMargin + fm.horizontalAdvance(text);
    RecordingCanvas canvas(palette());
    canvas.setFont(font());
    return 2 * FTextMargin + DoTextMeasuring(canvas, node, column, text).width();
}

int TCustomLazyStringTree::DoGetNodeWidth(PLazyNode node, TColumnIndex column)
{
    if (!node || node == RootNode())
        return 0;
    if (column <= NoColumn) {
        if (std::uint32_t cached = cachedTextWidth(node))
            return int(cached);
    }
    const int width = CalculateTextWidth(node, GetText(node, column), column);
    if (column <= NoColumn)
        setCachedTextWidth(node, std::uint32_t(std::max(width, 1)));
    return width;
}

int TCustomLazyStringTree::DoGetNodeExtraWidth(PLazyNode node, TColumnIndex column)
{
    if (!FStringOptions.contains(toShowStaticText) || FAlignment == taCenter
        || node->has(vsMultiline))
        return 0;
    const QString text = GetStaticText(node, column);
    if (text.isEmpty())
        return 0;
    return QFontMetrics(font()).horizontalAdvance(text) + FTextMargin;
}

int TCustomLazyStringTree::ComputeNodeHeight(ICanvas* canvas, PLazyNode node, TColumnIndex column,
                                             const QString& s)
{
    const QString text = s.isEmpty() ? GetText(node, column) : s;
    // The room the cell gives its text: the row less the margin, the indentation, the check
    // box and the image, and the text margins on both sides.
    const TLazyTreeOptionSets& opt = options();
    int room = int(std::max<std::int64_t>(clientWidth(), FRangeX)) - FMargin - 2 * FTextMargin;
    room -= FIndent
            * (opt.PaintOptions.contains(toFixedIndent)
                   ? 1
                   : int(GetNodeLevel(node)) + (opt.PaintOptions.contains(toShowRoot) ? 1 : 0));
    if (opt.MiscOptions.contains(toCheckSupport) && node->CheckType != ctNone)
        room -= checkImages().images().Width() + 2;
    if (const TImageList* images = Images())
        room -= images->Width() + 2;
    const QFontMetrics fm(font());
    const auto measure = [&](const QString& t) {
        return canvas ? canvas->textWidth(t) : fm.horizontalAdvance(t);
    };
    const QString wrapped = WordWrapText(measure, text, std::max(1, room), UseRightToLeftReading());
    const int lines = wrapped.isEmpty() ? 1 : int(wrapped.count(QLatin1Char('\n'))) + 1;
    return lines * (canvas ? canvas->textHeight() : FTextHeight);
}

void TCustomLazyStringTree::GetTextInfo(PLazyNode node, TColumnIndex column, QFont& f, QRect& r,
                                        QString& text)
{
    f = font();
    r = GetDisplayRect(node, column, true, true);
    text = GetText(node, column);
}

void TCustomLazyStringTree::DoPaintNode(TLTPaintInfo& info)
{
    QString text;
    QString staticText;
    DoGetText(info.Node, info.Column, text, staticText);
    if (!text.isEmpty())
        PaintNormalText(info, text);
    if (FAlignment != taCenter && !info.Node->has(vsMultiline)
        && FStringOptions.contains(toShowStaticText) && !staticText.isEmpty())
        PaintStaticText(info, staticText);
}

namespace {

int alignmentFlag(TAlignment a)
{
    switch (a) {
    case taRightJustify: return Qt::AlignRight;
    case taCenter: return Qt::AlignHCenter;
    case taLeftJustify: break;
    }
    return Qt::AlignLeft;
}

}  // namespace

void TCustomLazyStringTree::PaintNormalText(TLTPaintInfo& info, const QString& text)
{
    ICanvas& canvas = *info.Canvas;
    PLazyNode node = info.Node;
    const TLazyTreeOptionSets& opt = options();
    canvas.setFont(font());
    TColor textColor = isEnabled() ? clWindowText : color(TLTColors::DisabledColor);
    if (opt.PaintOptions.contains(toHotTrack) && node == FCurrentHotNode)
        textColor = color(TLTColors::HotColor);
    if (info.PaintOptions.contains(poDrawSelection)) {
        if (node == FDropTargetNode || (node->has(vsSelected) && paintsFocused()))
            textColor = color(TLTColors::SelectionTextColor);
    }
    TRect r = info.ContentRect;
    r.Left += FTextMargin;
    r.Right -= FTextMargin;
    DoPaintText(node, canvas, info.Column, ttNormal);
    if (node->has(vsDisabled) || !isEnabled())
        textColor = color(TLTColors::DisabledColor);
    int flags = Qt::AlignAbsolute | Qt::TextHideMnemonic;
    QString shown = text;
    if (node->has(vsMultiline)) {
        flags |= alignmentFlag(info.Alignment) | Qt::TextWordWrap;
        const int h = ComputeNodeHeight(&canvas, node, info.Column);
        if (h < r.Height()) {
            const int cut = (r.Height() - h) / 2;
            r.Top += cut;
            r.Bottom -= cut;
        }
        const auto measure = [&canvas](const QString& t) { return canvas.textWidth(t); };
        shown = WordWrapText(measure, text, r.Width(), info.RightToLeft);
    } else {
        flags |= Qt::AlignVCenter | Qt::TextSingleLine;
        // Without columns a long text is never shortened: the cell clips it. With columns
        // (not built yet) it would be shortened with an ellipsis.
        flags |= alignmentFlag(info.Alignment);
        // A text far wider than the row is cut before it reaches the layout engine, so that a
        // huge text costs no more than what can show.
        if (shown.size() > 4096 && shown.size() > r.Width())
            shown.truncate(std::max(4096, r.Width()));
    }
    m_textColor = textColor;
    DoTextDrawing(info, shown, r, flags);
}

void TCustomLazyStringTree::PaintStaticText(TLTPaintInfo& info, const QString& text)
{
    ICanvas& canvas = *info.Canvas;
    canvas.setFont(font());
    DoPaintText(info.Node, canvas, info.Column, ttStatic);
    TColor textColor = clWindowText;
    if (info.Node->has(vsDisabled) || !isEnabled())
        textColor = color(TLTColors::DisabledColor);
    TRect r = info.ContentRect;
    if (info.Alignment == taRightJustify)
        r.Right -= info.NodeWidth + FTextMargin;
    else
        r.Left += info.NodeWidth + FTextMargin;
    canvas.text(r, text,
                Qt::AlignAbsolute | Qt::TextHideMnemonic | Qt::AlignVCenter | Qt::TextSingleLine
                    | Qt::AlignLeft,
                textColor);
}

QString TCustomLazyStringTree::DoShortenString(ICanvas& canvas, PLazyNode node, TColumnIndex column,
                                               const QString& s, int width, int ellipsisWidth)
{
    QString result;
    bool done = false;
    if (OnShortenString)
        OnShortenString(*this, canvas, node, column, s, width, result, done);
    if (done)
        return result;
    const auto measure = [&canvas](const QString& t) { return canvas.textWidth(t); };
    return EllipsizeText(measure, s, width, ellipsisWidth);
}

void TCustomLazyStringTree::DoTextDrawing(TLTPaintInfo& info, const QString& text, const TRect& r,
                                          int flags)
{
    bool defaultDraw = true;
    if (OnDrawText)
        OnDrawText(*this, *info.Canvas, info.Node, info.Column, text, r, defaultDraw);
    if (defaultDraw)
        info.Canvas->text(r, text, flags, m_textColor);
}

QSize TCustomLazyStringTree::DoTextMeasuring(ICanvas& canvas, PLazyNode node, TColumnIndex column,
                                             const QString& text)
{
    int width = canvas.textWidth(text);
    int height = canvas.textHeight();
    if (node && node->has(vsMultiline)) {
        // The widest line of the text wrapped at its own one-line width.
        const auto measure = [&canvas](const QString& t) { return canvas.textWidth(t); };
        int widest = 0;
        for (const QString& line :
             WordWrapText(measure, text, std::max(1, width), UseRightToLeftReading())
                 .split(QLatin1Char('\n')))
            widest = std::max(widest, canvas.textWidth(line));
        width = widest;
    }
    if (OnMeasureTextWidth)
        OnMeasureTextWidth(*this, canvas, node, column, text, width);
    if (OnMeasureTextHeight)
        OnMeasureTextHeight(*this, canvas, node, column, text, height);
    return QSize(width, height);
}

QString TCustomLazyStringTree::restoreText(PLazyNode node)
{
    // The memory asks for the main column's text, as an owner with columns stores it.
    QString text;
    OnGetText(*this, node, 0, ttNormal, text);
    return text;
}

void TCustomLazyStringTree::DoAddToSelection(PLazyNode node)
{
    TBaseLazyTree::DoAddToSelection(node);
    if (SelectedCount() > 0)
        m_freshSelection = false;
    if (!options().SelectionOptions.contains(toRestoreSelection) || !OnGetText
        || !node->has(vsSelected) || FStates.contains(tsPreviouslySelectedLocked))
        return;
    if (!FPreviouslySelected)
        FPreviouslySelected = std::make_unique<std::set<QString, CaseInsensitiveLess>>();
    // A selection that starts anew starts a new memory.
    if (SelectedCount() == 0 && !m_freshSelection) {
        FPreviouslySelected->clear();
        m_freshSelection = true;
    }
    FPreviouslySelected->insert(restoreText(node));
}

void TCustomLazyStringTree::DoRemoveFromSelection(PLazyNode node)
{
    TBaseLazyTree::DoRemoveFromSelection(node);
    m_freshSelection = false;
    // A node that leaves because it is deleted keeps its text: the memory exists to select
    // the node again when the owner rebuilds the tree.
    if (!options().SelectionOptions.contains(toRestoreSelection) || !FPreviouslySelected
        || node->has(vsSelected) || node->has(vsDeleting))
        return;
    if (SelectedCount() == 0)
        FPreviouslySelected->clear();
    else if (OnGetText)
        FPreviouslySelected->erase(restoreText(node));
}

PLazyNode TCustomLazyStringTree::AddChild(PLazyNode parent, void* userData)
{
    PLazyNode node = TBaseLazyTree::AddChild(parent, userData);
    if (!node || !options().SelectionOptions.contains(toRestoreSelection) || !FPreviouslySelected
        || !OnGetText)
        return node;
    if (!FPreviouslySelected->contains(restoreText(node)))
        return node;
    {
        DoStateChange({tsPreviouslySelectedLocked});
        ScopeGuard unlock([this] { DoStateChange({}, {tsPreviouslySelectedLocked}); });
        AddToSelection(node);
    }
    if (SelectedCount() > 0 && !IsUpdating())
        ScrollIntoView(GetFirstSelected(), true, false);
    return node;
}

QStringList TCustomLazyStringTree::previouslySelected() const
{
    QStringList out;
    if (FPreviouslySelected)
        for (const QString& s : *FPreviouslySelected)
            out << s;
    return out;
}

}  // namespace zfw
