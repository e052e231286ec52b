// Header painting: the off-screen composition of the fixed and the scrolling columns, the
// background, each cell (frame or style background, image or check box, caption, sort arrow,
// drop mark), the layout inside a cell, owner draw, and the header's own small pictures.

#include "tree/LazyTreesHeaderPaint.h"

#include "tree/LazyTreesColors.h"
#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesImages.h"
#include "tree/LazyTreesUtils.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionHeader>

#include <algorithm>

namespace zfw {

// ----- the header's pictures ------------------------------------------------------------------

namespace {

QImage blankImage()
{
    QImage image(THeaderUtilityImages::Size, THeaderUtilityImages::Size,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// A bar along one side with an arrow pointing into the cell.
QImage dropMark(bool left, const QColor& color)
{
    QImage image = blankImage();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int barX = left ? 0 : 14;
    p.fillRect(barX, 0, 2, 16, color);
    QPainterPath arrow;
    if (left) {
        arrow.moveTo(3, 4);
        arrow.lineTo(8, 8);
        arrow.lineTo(3, 12);
    } else {
        arrow.moveTo(13, 4);
        arrow.lineTo(8, 8);
        arrow.lineTo(13, 12);
    }
    arrow.closeSubpath();
    p.fillPath(arrow, color);
    return image;
}

// A filled triangle (the plain look) or an open chevron (the styled look), pointing up for
// ascending order.
QImage sortArrow(bool ascending, bool themed, const QColor& color)
{
    QImage image = blankImage();
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal tip = ascending ? 5.5 : 10.5;
    const qreal base = ascending ? 10.5 : 5.5;
    if (themed) {
        p.setPen(QPen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF({QPointF(4, base), QPointF(8, tip), QPointF(12, base)}));
    } else {
        QPainterPath arrow;
        arrow.moveTo(4, base);
        arrow.lineTo(8, tip);
        arrow.lineTo(12, base);
        arrow.closeSubpath();
        p.fillPath(arrow, color);
    }
    return image;
}

}  // namespace

THeaderUtilityImages::THeaderUtilityImages(const QPalette& palette)
{
    const QColor mark = palette.color(QPalette::Highlight);
    const QColor arrow = palette.color(QPalette::ButtonText);
    const QColor lightArrow = palette.color(QPalette::Dark);
    m_images[DropMarkLeft] = dropMark(true, mark);
    m_images[DropMarkRight] = dropMark(false, mark);
    m_images[SortDescending] = sortArrow(false, false, arrow);
    m_images[SortAscending] = sortArrow(true, false, arrow);
    m_images[SortDescendingThemed] = sortArrow(false, true, lightArrow);
    m_images[SortAscendingThemed] = sortArrow(true, true, lightArrow);
}

const THeaderUtilityImages& TLTHeader::utilityImages()
{
    const qint64 key = FOwner->palette().cacheKey();
    if (!m_utilityImages || key != m_utilityPalette) {
        m_utilityImages = std::make_unique<THeaderUtilityImages>(FOwner->palette());
        m_utilityPalette = key;
    }
    return *m_utilityImages;
}

// ----- edges ----------------------------------------------------------------------------------

void DrawHeaderEdge(QPainter& painter, const TRect& r, THeaderEdge edge, const QPalette& palette)
{
    if (r.isEmpty())
        return;
    const QColor face = palette.color(QPalette::Button);
    const QColor highlight = palette.color(QPalette::Light);
    const QColor light = palette.color(QPalette::Midlight);
    const QColor shadow = palette.color(QPalette::Mid);
    const QColor dark = palette.color(QPalette::Shadow);
    TRect ring = r;
    // One ring: top and left in the first colour, bottom and right in the second.
    auto drawRing = [&](const QColor& topLeft, const QColor& bottomRight) {
        if (ring.isEmpty())
            return;
        if (edge.contains(efTop))
            painter.fillRect(QRect(ring.Left, ring.Top, ring.Width(), 1), topLeft);
        if (edge.contains(efLeft))
            painter.fillRect(QRect(ring.Left, ring.Top, 1, ring.Height()), topLeft);
        if (edge.contains(efBottom))
            painter.fillRect(QRect(ring.Left, ring.Bottom - 1, ring.Width(), 1), bottomRight);
        if (edge.contains(efRight))
            painter.fillRect(QRect(ring.Right - 1, ring.Top, 1, ring.Height()), bottomRight);
        ring = TRect{ring.Left + (edge.contains(efLeft) ? 1 : 0),
                     ring.Top + (edge.contains(efTop) ? 1 : 0),
                     ring.Right - (edge.contains(efRight) ? 1 : 0),
                     ring.Bottom - (edge.contains(efBottom) ? 1 : 0)};
    };
    if (edge.contains(efMiddle))
        painter.fillRect(r.toQRect(), face);
    const bool soft = edge.contains(efSoft);
    if (edge.contains(efFlat)) {
        drawRing(shadow, shadow);
        return;
    }
    if (edge.contains(efRaisedOuter))
        drawRing(soft ? highlight : light, dark);
    else if (edge.contains(efSunkenOuter))
        drawRing(shadow, highlight);
    if (edge.contains(efRaisedInner))
        drawRing(soft ? light : highlight, shadow);
    else if (edge.contains(efSunkenInner))
        drawRing(dark, light);
}

// ----- layout inside a cell -------------------------------------------------------------------

namespace {

int wrappedHeight(const QFontMetrics& metrics, const QString& caption)
{
    return int(caption.count(QLatin1Char('\n')) + 1) * metrics.lineSpacing();
}

}  // namespace

void TLazyTreeColumn::LayoutHeaderCell(const QFontMetrics& metrics, const TRect& client,
                                       bool useHeaderGlyph, bool useSortGlyph, QPoint& glyphPos,
                                       QPoint& sortGlyphPos, QSize& sortGlyphSize,
                                       TRect& textBounds, int drawFormat)
{
    const bool hasText = !FText.isEmpty();
    if (!hasText && !useHeaderGlyph && !useSortGlyph)
        return;
    const int w = client.Width();
    const int h = client.Height();
    const int spacing = FSpacing;
    const int s = hasText ? spacing : 0;
    const bool rtl = UseRightToLeftReading();
    TAlignment alignment = CaptionAlignment();
    if (rtl && alignment == taLeftJustify)
        alignment = taRightJustify;
    else if (rtl && alignment == taRightJustify)
        alignment = taLeftJustify;

    int gw = 0;
    int gh = 0;
    if (useHeaderGlyph) {
        if (FCheckBox) {
            const TImageList& checks = Tree().checkImages().images();
            if (checks.Count() > 0) {
                gw = checks.Width();
                gh = checks.Height();
            }
        } else if (const TImageList* images = Header().Images()) {
            gw = images->Width();
            gh = images->Height();
        }
    }
    QSize ss(0, 0);
    if (useSortGlyph) {
        ss = QSize(THeaderUtilityImages::Size, THeaderUtilityImages::Size);
        sortGlyphPos.setY((h - ss.height()) / 2);
    }
    sortGlyphSize = ss;

    const TTextWidth measure = [&metrics](const QString& t) {
        return metrics.horizontalAdvance(t);
    };
    const bool wrap = FOptions.contains(coWrapCaption);
    const bool rtlText = (drawFormat & Qt::TextForceRightToLeft) != 0;
    int tw = 0;
    int th = 0;
    if (!wrap) {
        FCaptionText = FText;
        tw = metrics.horizontalAdvance(FText) + 2;
        th = metrics.height();
    } else {
        if (FCaptionText.isEmpty())
            FCaptionText = WordWrapText(measure, FText, w, rtlText);
        tw = w;
        th = wrappedHeight(metrics, FCaptionText);
    }
    textBounds = TRect{0, 0, tw, th};

    const bool sideLayout = FLayout == blGlyphLeft || FLayout == blGlyphRight;
    const bool sortLtr = useSortGlyph && !rtl;
    const bool sortRtl = useSortGlyph && rtl;
    int tx = 0;
    int ty = 0;
    if (!hasText && !useHeaderGlyph) {
        sortGlyphPos = QPoint((w - ss.width()) / 2, (h - ss.height()) / 2);
    } else {
        if (sideLayout || !useHeaderGlyph) {
            glyphPos.setY((h - gh) / 2);
            ty = std::max((h - th) / 2, -5);
        } else if (FLayout == blGlyphTop) {
            glyphPos.setY((h - gh - th - s) / 2);
            ty = glyphPos.y() + gh + s;
        } else {
            ty = (h - gh - th - s) / 2;
            glyphPos.setY(ty + th + s);
        }
        // A glyph that sits beside the caption (left or right layout) in the reading order.
        auto sideGlyph = [&](TLTHeaderColumnLayout which, int& x) {
            if (useHeaderGlyph && FLayout == which) {
                glyphPos.setX(x);
                x += gw + spacing;
            }
        };
        switch (alignment) {
        case taLeftJustify: {
            int x = FMargin;
            if (sortRtl) {
                sortGlyphPos.setX(x);
                x += ss.width() + spacing;
            }
            if (!sideLayout) {
                tx = x;
                if (useHeaderGlyph) {
                    glyphPos.setX(std::max(x, (w - gw) / 2));
                    x = std::max(glyphPos.x() + gw + spacing, tx + tw + s);
                } else {
                    x = tx + tw + s;
                }
            } else {
                sideGlyph(blGlyphLeft, x);
                tx = x;
                x += s + tw;
                sideGlyph(blGlyphRight, x);
            }
            if (sortLtr)
                sortGlyphPos.setX(x);
            break;
        }
        case taCenter: {
            if (!sideLayout) {
                glyphPos.setX((w - gw) / 2);
                tx = (w - tw) / 2;
                if (useSortGlyph)
                    tx -= ss.width() / 2;
            } else {
                // The block of image and caption is centred with the sort arrow beside it, as
                // in the top and bottom layouts; centring the block alone pushed the arrow
                // over the caption's end and cut captions that fitted.
                int x = (w - (useHeaderGlyph ? gw + s : 0) - tw) / 2;
                if (useSortGlyph)
                    x -= (ss.width() + spacing) / 2;
                if (useHeaderGlyph && FLayout == blGlyphLeft) {
                    glyphPos.setX(x);
                    x += gw + s;
                }
                tx = x;
                x += s + tw;
                if (useHeaderGlyph && FLayout == blGlyphRight)
                    glyphPos.setX(x);
            }
            const int left = useHeaderGlyph ? std::min(tx, glyphPos.x()) : tx;
            const int right = useHeaderGlyph ? std::max(tx + tw, glyphPos.x() + gw) : tx + tw;
            if (sortLtr)
                sortGlyphPos.setX(right + spacing);
            else if (sortRtl)
                sortGlyphPos.setX(left - spacing - ss.width());
            break;
        }
        case taRightJustify: {
            int e = w - FMargin;
            if (sortLtr) {
                e -= ss.width();
                sortGlyphPos.setX(e);
                e -= spacing;
            }
            if (!sideLayout) {
                tx = e - tw;
                if (useHeaderGlyph) {
                    glyphPos.setX((w - gw) / 2);
                    if (glyphPos.x() + gw > e)
                        glyphPos.setX(e - gw - spacing);
                    e = std::min(glyphPos.x() - spacing, tx - s);
                } else {
                    e = tx - s;
                }
            } else {
                if (useHeaderGlyph && FLayout == blGlyphRight) {
                    glyphPos.setX(e - gw);
                    e = glyphPos.x() - spacing;
                }
                tx = e - tw;
                e = tx - s;
                if (useHeaderGlyph && FLayout == blGlyphLeft) {
                    glyphPos.setX(e - gw);
                    e = glyphPos.x() - spacing;
                }
            }
            if (sortRtl)
                sortGlyphPos.setX(e - ss.width());
            break;
        }
        }
    }

    // Keep everything inside the margins; the sort arrow wins over the image, the image over
    // the caption.
    int minLeft = FMargin;
    int maxRight = w - FMargin;
    const QPoint origin(client.Left, client.Top);
    if (useSortGlyph) {
        if (!rtl) {
            if (sortGlyphPos.x() + ss.width() > maxRight)
                sortGlyphPos.setX(maxRight - ss.width());
            maxRight = sortGlyphPos.x() - spacing;
            if (sortGlyphPos.x() < minLeft)
                sortGlyphPos.setX(minLeft);
        } else {
            minLeft = sortGlyphPos.x() + ss.width() + spacing;
        }
        sortGlyphPos += origin;
    }
    if (useHeaderGlyph) {
        if (glyphPos.x() + gw > maxRight)
            glyphPos.setX(maxRight - gw);
        if (FLayout == blGlyphRight)
            maxRight = glyphPos.x() - spacing;
        if (glyphPos.x() < minLeft)
            glyphPos.setX(minLeft);
        if (FLayout == blGlyphLeft)
            minLeft = glyphPos.x() + gw + spacing;
        if (!(m_index == Header().MainColumn() && !FCheckBox))
            glyphPos.rx() -= 2;
        glyphPos += origin;
    }
    tx = std::max(tx, minLeft);
    textBounds = textBounds.offset(tx, ty);
    textBounds.Right = std::min(textBounds.Right, maxRight);
    textBounds = textBounds.offset(origin.x(), origin.y());
    if (wrap)
        FCaptionText = WordWrapText(measure, FText, std::max(textBounds.Width(), 1), rtlText);
}

// ----- captions -------------------------------------------------------------------------------

QString TLazyTreeColumns::DrawHeaderCaption(QPainter& dc, const QString& caption,
                                            const TRect& bounds, bool enabled, bool hot,
                                            int drawFormat, bool wrapCaption)
{
    const QFontMetrics metrics(dc.font());
    QString shown = caption;
    if (!wrapCaption && metrics.horizontalAdvance(caption) > bounds.Width())
        shown = EllipsizeText([&metrics](const QString& t) { return metrics.horizontalAdvance(t); },
                              caption, bounds.Width(), 0);
    const int flags = drawFormat | (wrapCaption ? 0 : int(Qt::TextSingleLine));
    TBaseLazyTree& tree = Tree();
    const QPalette& palette = tree.palette();
    dc.save();
    dc.setBackgroundMode(Qt::TransparentMode);
    if (enabled) {
        dc.setPen(hot ? toQColor(tree.color(TLTColors::HeaderHotColor), palette)
                      : toQColor(FHeader->FontColor(), palette));
        dc.drawText(bounds.toQRect(), flags, shown);
    } else {
        dc.setPen(toQColor(clBtnHighlight, palette));
        dc.drawText(bounds.offset(1, 1).toQRect(), flags, shown);
        dc.setPen(toQColor(clBtnShadow, palette));
        dc.drawText(bounds.toQRect(), flags, shown);
    }
    dc.restore();
    return shown;
}

// ----- composition ----------------------------------------------------------------------------

struct TLazyTreeColumns::HeaderPaintPass {
    QPainter* canvas = nullptr;
    THeaderPaintInfo info;
    bool advancedOwnerDraw = false;
    bool ownerDraw = false;
    bool themed = false;
    THeaderEdge normalEdge;
    THeaderEdge pressedEdge;
    THeaderEdge hotEdge;
};

void TLazyTreeColumns::PaintHeader(QPainter& dc, const QRect& r, int hOffset)
{
    TBaseLazyTree& tree = Tree();
    const QRect header = FHeader->HeaderRect();
    const int width = std::max(r.right() + 1, header.width());
    const int height = header.height();
    if (width <= 0 || height <= 0 || r.isEmpty())
        return;
    if (FHeaderBitmap.width() < width || FHeaderBitmap.height() != height)
        FHeaderBitmap = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    // The whole band is composed each time and only r copied: a fixed part painted for a
    // partial r would land at r's left edge instead of the header's.
    const TRect all{0, 0, width, height};
    const int fixed = GetVisibleFixedWidth();
    const int rtlOffset = tree.UseRightToLeftReading() ? tree.ComputeRTLOffset(false) : 0;
    QPainter bitmap(&FHeaderBitmap);
    if (rtlOffset == 0 && fixed >= 1)
        PaintHeader(bitmap, TRect{0, 0, std::min(all.Right, fixed), all.Height()}, QPoint(0, 0));
    PaintHeader(bitmap, TRect{fixed - hOffset, 0, all.Right + fixed - hOffset, all.Height()},
                QPoint(fixed, 0), rtlOffset);
    if (rtlOffset != 0 && fixed >= 1)
        PaintHeader(bitmap, TRect{0, 0, std::min(all.Right, fixed), all.Height()}, QPoint(0, 0));
    bitmap.end();
    dc.drawImage(r.topLeft(), FHeaderBitmap, r);
}

void TLazyTreeColumns::PaintHeader(QPainter& targetCanvas, const TRect& rIn, QPoint target,
                                   int rtlOffset)
{
    if (rIn.isEmpty())
        return;
    TBaseLazyTree& tree = Tree();
    TLTHeader& header = *FHeader;
    const TLTHeaderOptions options = header.Options();
    HeaderPaintPass pass;
    pass.canvas = &targetCanvas;
    pass.advancedOwnerDraw = options.contains(hoOwnerDraw) && tree.OnAdvancedHeaderDraw
                             && tree.OnHeaderDrawQueryElements;
    pass.ownerDraw = options.contains(hoOwnerDraw) && tree.OnHeaderDraw && !pass.advancedOwnerDraw;
    pass.themed = tree.TreeStates().contains(tsUseThemes);
    pass.info.TargetCanvas = &targetCanvas;
    targetCanvas.setFont(header.Font());
    switch (header.Style()) {
    case hsThickButtons:
        pass.normalEdge = {efRaisedOuter, efRaisedInner, efSoft, efMiddle, efLeft, efTop, efBottom};
        pass.pressedEdge = THeaderEdge{efRaisedOuter, efFlat, efSoft, efMiddle} + efAllSides;
        break;
    case hsFlatButtons:
        pass.normalEdge = {efRaisedInner, efMiddle, efLeft, efTop, efBottom};
        pass.pressedEdge = THeaderEdge{efSunkenOuter, efMiddle} + efAllSides;
        break;
    case hsPlates:
        pass.normalEdge = THeaderEdge{efRaisedInner, efSoft, efMiddle} + efAllSides;
        pass.pressedEdge = THeaderEdge{efSunkenOuter, efMiddle} + efAllSides;
        pass.hotEdge = {efRaisedInner, efMiddle, efLeft, efTop, efBottom};
        break;
    }

    THeaderPaintElements elements;
    if (pass.advancedOwnerDraw) {
        pass.info.PaintRectangle = rIn;
        pass.info.Column = nullptr;
        tree.DoHeaderDrawQueryElements(pass.info, elements);
    }
    const TRect background{target.x(), target.y(), target.x() + rIn.Width(),
                           target.y() + header.Height()};
    if (elements.contains(hpeBackground)) {
        pass.info.PaintRectangle = background;
        tree.DoAdvancedHeaderDraw(pass.info, {hpeBackground});
    } else if (pass.themed) {
        QStyleOptionHeader opt;
        opt.initFrom(&tree);
        opt.rect = background.toQRect();
        opt.orientation = Qt::Horizontal;
        opt.state |= QStyle::State_Raised | QStyle::State_Horizontal;
        opt.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus);
        tree.style()->drawControl(QStyle::CE_HeaderSection, &opt, &targetCanvas, &tree);
    } else {
        targetCanvas.fillRect(background.toQRect(), toQColor(header.Background(), tree.palette()));
    }

    TRect r = rIn;
    r.Left = std::max(r.Left, 0);
    r.Right = std::min(r.Right, TotalWidth());
    r.Top = std::max(r.Top, 0);
    r.Bottom = std::min(r.Bottom, header.Height());
    const int maxX = target.x() + r.Width();
    TColumnIndex column = ColumnFromPosition(QPoint(r.Left + rtlOffset, 0), false);
    if (!IsValidColumn(column) || r.isEmpty())
        return;
    // Without a bevel around the tree there is nothing to stand in for the last border.
    pass.info.ShowRightBorder = true;
    TRect cell{Items(column).UnscrolledLeft() + target.x() + rtlOffset - r.Left, target.y(), 0,
               target.y() + r.Height()};
    while (IsValidColumn(column) && cell.Left < maxX) {
        cell.Right = cell.Left + Items(column).Width();
        targetCanvas.save();
        targetCanvas.setClipRect(QRect(QPoint(std::max(target.x(), cell.Left), target.y() + r.Top),
                                       QPoint(std::min(maxX, cell.Right) - 1, cell.Bottom - 1)));
        PaintHeaderCell(pass, column, cell);
        targetCanvas.restore();
        cell.Left = cell.Right;
        column = GetNextVisibleColumn(column);
    }
}

void TLazyTreeColumns::PaintHeaderCell(HeaderPaintPass& pass, TColumnIndex index, const TRect& r)
{
    TBaseLazyTree& tree = Tree();
    TLTHeader& header = *FHeader;
    const TLTHeaderOptions options = header.Options();
    TLazyTreeColumn& column = Items(index);
    const TLTColumnOptions colOptions = column.Options();
    QPainter& canvas = *pass.canvas;
    THeaderPaintInfo& info = pass.info;

    info.Column = &column;
    info.IsHoverIndex = index == FHoverIndex && options.contains(hoHotTrack)
                        && colOptions.contains(coEnabled);
    info.IsDownIndex = index == FDownIndex && !FCheckBoxHit;
    info.DropMark = dmmNone;
    if (colOptions.contains(coShowDropMark) && index == FDropTarget && index != FDragIndex)
        info.DropMark = FDropBefore ? dmmLeft : dmmRight;
    info.IsEnabled = colOptions.contains(coEnabled) && tree.isEnabled();
    const TImageList* images = header.Images();
    info.ShowHeaderGlyph = options.contains(hoShowImages)
                           && ((images && column.ImageIndex() >= 0) || column.CheckBox());
    info.ShowSortGlyph = index == header.SortColumn() && options.contains(hoShowSortGlyphs);
    const bool wrap = colOptions.contains(coWrapCaption);
    info.PaintRectangle = r;
    info.TextRectangle = {};
    info.GlyphPos = {};
    info.SortGlyphPos = {};

    if (column.Style() == vsOwnerDraw && pass.ownerDraw) {
        tree.DoHeaderDraw(canvas, column, info.PaintRectangle, info.IsHoverIndex, info.IsDownIndex,
                          info.DropMark);
        return;
    }
    THeaderPaintElements elements;
    if (pass.advancedOwnerDraw)
        tree.DoHeaderDrawQueryElements(info, elements);

    const THeaderEdge rightSide = info.ShowRightBorder || index < Count() - 1 ? THeaderEdge{efRight}
                                                                              : THeaderEdge{};
    if (elements.contains(hpeBackground)) {
        tree.DoAdvancedHeaderDraw(info, {hpeBackground});
    } else if (pass.themed) {
        QStyleOptionHeader opt;
        opt.initFrom(&tree);
        opt.rect = r.toQRect();
        opt.orientation = Qt::Horizontal;
        opt.section = index;
        opt.position = QStyleOptionHeader::Middle;
        opt.state &= ~(QStyle::State_MouseOver | QStyle::State_HasFocus | QStyle::State_Enabled);
        opt.state |= QStyle::State_Horizontal;
        if (info.IsEnabled)
            opt.state |= QStyle::State_Enabled;
        opt.state |= info.IsDownIndex ? QStyle::State_Sunken : QStyle::State_Raised;
        if (info.IsHoverIndex)
            opt.state |= QStyle::State_MouseOver;
        tree.style()->drawControl(QStyle::CE_HeaderSection, &opt, &canvas, &tree);
    } else if (info.IsDownIndex) {
        DrawHeaderEdge(canvas, r, pass.pressedEdge, tree.palette());
    } else if (header.Style() == hsPlates && info.IsHoverIndex
               && colOptions.containsAll({coAllowClick, coEnabled})) {
        DrawHeaderEdge(canvas, r, pass.hotEdge + rightSide, tree.palette());
    } else {
        DrawHeaderEdge(canvas, r, pass.normalEdge + rightSide, tree.palette());
    }

    info.PaintRectangle = r.inflated(-2, -2);
    int drawFormat = 0;
    switch (column.CaptionAlignment()) {
    case taLeftJustify: drawFormat = Qt::AlignLeft; break;
    case taRightJustify: drawFormat = Qt::AlignRight; break;
    case taCenter: drawFormat = Qt::AlignHCenter; break;
    }
    if (column.UseRightToLeftReading())
        drawFormat |= Qt::TextForceRightToLeft;
    QSize sortGlyphSize;
    column.LayoutHeaderCell(QFontMetrics(canvas.font()), info.PaintRectangle, info.ShowHeaderGlyph,
                            info.ShowSortGlyph, info.GlyphPos, info.SortGlyphPos, sortGlyphSize,
                            info.TextRectangle, drawFormat);
    if (info.IsDownIndex) {
        info.TextRectangle = info.TextRectangle.offset(1, 1);
        info.GlyphPos += QPoint(1, 1);
        info.SortGlyphPos += QPoint(1, 1);
    }

    const THeaderPaintElements rest = elements - THeaderPaintElements{hpeBackground};
    column.SetImageRect({}, false);
    const int imageWidth = images ? images->Width() : 0;
    if (!rest.contains(hpeHeaderGlyph) && info.ShowHeaderGlyph
        && (!info.ShowSortGlyph || column.UseRightToLeftReading()
            || info.GlyphPos.x() + imageWidth <= info.SortGlyphPos.x())) {
        QSize used;
        if (column.CheckBox()) {
            const TImageList& checks = tree.checkImages().images();
            const int checkIndex = LazyTreeModel::GetCheckImage(column.CheckType(),
                                                                column.CheckState(), info.IsEnabled,
                                                                false);
            canvas.drawImage(info.GlyphPos, checks.image(checkIndex));
            used = QSize(checks.Width(), checks.Height());
        } else {
            canvas.save();
            if (!info.IsEnabled)
                canvas.setOpacity(0.5);
            canvas.drawImage(info.GlyphPos, images->image(column.ImageIndex()));
            canvas.restore();
            used = QSize(images->Width(), images->Height());
        }
        column.SetImageRect(QRect(info.GlyphPos, used), true);
    }
    if (!rest.contains(hpeText) && !column.Text().isEmpty()) {
        const bool hot = info.IsHoverIndex && options.contains(hoHotTrack) && !pass.themed;
        DrawHeaderCaption(canvas, wrap ? column.CaptionText() : column.Text(), info.TextRectangle,
                          info.IsEnabled, hot, drawFormat, wrap);
    }
    if (!rest.contains(hpeSortGlyph) && info.ShowSortGlyph) {
        using I = THeaderUtilityImages;
        const bool ascending = header.SortDirection() == sdAscending;
        const I::Index which = pass.themed
                                   ? (ascending ? I::SortAscendingThemed : I::SortDescendingThemed)
                                   : (ascending ? I::SortAscending : I::SortDescending);
        canvas.drawImage(info.SortGlyphPos, header.utilityImages().image(which));
    }
    if (!rest.contains(hpeDropMark) && info.DropMark != dmmNone) {
        const TRect& pr = info.PaintRectangle;
        const int y = (pr.Top + pr.Bottom - THeaderUtilityImages::Size) / 2;
        if (info.DropMark == dmmLeft)
            canvas.drawImage(QPoint(pr.Left, y),
                             header.utilityImages().image(THeaderUtilityImages::DropMarkLeft));
        else
            canvas.drawImage(QPoint(pr.Right - THeaderUtilityImages::Size, y),
                             header.utilityImages().image(THeaderUtilityImages::DropMarkRight));
    }
    if (!rest.empty()) {
        canvas.save();
        tree.DoAdvancedHeaderDraw(info, rest);
        canvas.restore();
    }
}

// ----- the header widget's paint hook ---------------------------------------------------------

void TLTHeader::PaintHeaderArea(QPainter& painter, const QRect& area)
{
    FColumns->PaintHeader(painter, area, -FOwner->EffectiveOffsetX());
    if (!m_dragImage.isNull()) {
        // The dragged cell follows the mouse inside the band, a little see-through so that the
        // drop mark under it stays visible.
        painter.save();
        painter.setOpacity(0.7);
        painter.drawImage(QPoint(m_dragImageLeft, 0), m_dragImage);
        painter.setOpacity(1.0);
        painter.setPen(toQColor(clBtnShadow, FOwner->palette()));
        painter.drawRect(
            QRect(m_dragImageLeft, 0, m_dragImage.width() - 1, m_dragImage.height() - 1));
        painter.restore();
        // The drop mark again on top: the moving cell usually hangs over it.
        TLazyTreeColumns& columns = *FColumns;
        const TColumnIndex target = columns.FDropTarget;
        if (columns.IsValidColumn(target) && target != columns.FDragIndex
            && columns.Items(target).Options().contains(coShowDropMark)) {
            int left = 0;
            int right = 0;
            columns.GetColumnBounds(target, left, right);
            const TRect pr = TRect{left, 0, right, FHeight}.inflated(-2, -2);
            const int y = (pr.Top + pr.Bottom - THeaderUtilityImages::Size) / 2;
            if (columns.FDropBefore)
                painter.drawImage(QPoint(pr.Left, y),
                                  utilityImages().image(THeaderUtilityImages::DropMarkLeft));
            else
                painter.drawImage(QPoint(pr.Right - THeaderUtilityImages::Size, y),
                                  utilityImages().image(THeaderUtilityImages::DropMarkRight));
        }
    }
}

// ----- the tree's hooks -----------------------------------------------------------------------

void TBaseLazyTree::DoHeaderDraw(QPainter& canvas, TLazyTreeColumn& column, const TRect& r,
                                 bool hover, bool pressed, TLTDropMarkMode dropMark)
{
    if (OnHeaderDraw)
        OnHeaderDraw(*FHeader, canvas, column, r, hover, pressed, dropMark);
}

void TBaseLazyTree::DoHeaderDrawQueryElements(THeaderPaintInfo& paintInfo,
                                              THeaderPaintElements& elements)
{
    if (OnHeaderDrawQueryElements)
        OnHeaderDrawQueryElements(*FHeader, paintInfo, elements);
}

void TBaseLazyTree::DoAdvancedHeaderDraw(THeaderPaintInfo& paintInfo, THeaderPaintElements elements)
{
    if (OnAdvancedHeaderDraw)
        OnAdvancedHeaderDraw(*FHeader, paintInfo, elements);
}

}  // namespace zfw
