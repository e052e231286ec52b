#include "grid/CellGraphic.h"

#include <algorithm>
#include <cmath>

namespace zfw {

void TCellGraphic::setKind(TCellType kind, TCellHAlign hal, TCellVAlign val)
{
    CellType = kind;
    CellHAlign = hal;
    CellVAlign = val;
}

void TCellGraphic::SetBitmap(const QImage& bmp, bool transparent, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctBitmap, hal, val);
    m_bitmap = bmp;
    CellTransparent = transparent;
}

void TCellGraphic::SetIcon(const QIcon& icon, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctIcon, hal, val);
    m_icon = icon;
}

void TCellGraphic::SetPicture(const QImage& picture, bool transparent, TStretchMode mode,
                              int padding, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctPicture, hal, val);
    m_bitmap = picture;
    CellTransparent = transparent;
    CellAngle = mode;
    CellIndex = padding;
}

void TCellGraphic::SetFilePicture(const FilePictureRef& picture, bool transparent,
                                  TStretchMode mode, int padding, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctFilePicture, hal, val);
    m_bitmap = picture;
    CellTransparent = transparent;
    CellAngle = mode;
    CellIndex = padding;
}

void TCellGraphic::SetImageIdx(int idx, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctImageList, hal, val);
    CellIndex = idx;
}

void TCellGraphic::SetDataImage(int idx, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctDataImage, hal, val);
    CellIndex = idx;
}

void TCellGraphic::SetMultiImage(const QList<int>& images, int dir, TCellHAlign hal,
                                 TCellVAlign val)
{
    setKind(ctImages, hal, val);
    m_bitmap = images;
    CellBoolean = (dir == 0);
}

void TCellGraphic::SetCheckBox(bool value, bool data, bool flat, TCellHAlign hal, TCellVAlign val)
{
    setKind(data ? ctDataCheckBox : ctCheckBox, hal, val);
    CellAngle = 0;
    m_bitmap = std::monostate{};
    CellBoolean = value;
    CellTransparent = flat;
}

void TCellGraphic::SetCheckBox(TCheckBoxState value, bool flat, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctTriStateCheckBox, hal, val);
    CellCheckBoxState = value;
    CellBoolean = false;
    CellTransparent = flat;
}

void TCellGraphic::SetRadioButton(bool value, bool flat, TCellHAlign hal, TCellVAlign val)
{
    setKind(ctRadioButton, hal, val);
    CellAngle = 0;
    m_bitmap = std::monostate{};
    CellBoolean = value;
    CellTransparent = flat;
}

void TCellGraphic::SetButton(int bw, int bh, const QString& caption, TCellHAlign hal,
                             TCellVAlign val)
{
    setKind(ctButton, hal, val);
    CellIndex = std::int32_t((std::uint32_t(bh) << 16) | (std::uint32_t(bw) & 0xFFFFu));
    CellBoolean = false;
    CellText = caption;
}

void TCellGraphic::SetBitButton(int bw, int bh, const QString& caption, const QImage& glyph,
                                TCellHAlign hal, TCellVAlign val)
{
    SetButton(bw, bh, caption, hal, val);
    CellType = ctBitButton;
    m_bitmap = glyph;
}

void TCellGraphic::SetInterfacedCell(ICellInterface* object)
{
    CellType = ctInterface;
    m_bitmap = object;
}

void TCellGraphic::SetAngle(int angle)
{
    CellType = ctRotated;
    // Whole turns in one step, in 64 bits: a huge angle neither loops for long nor overflows.
    long long a = angle;
    if (a < 0)
        a += 360LL * ((-a + 359) / 360);
    if (a > 360)
        a -= 360LL * ((a - 1) / 360);
    CellAngle = std::int32_t(a);
}

void TCellGraphic::setBalloon(const QStringList& titleAndText)
{
    if (titleAndText.isEmpty()) {
        m_bitmap = std::monostate{};
        CellAngle = 0;
    } else {
        m_bitmap = titleAndText;
        CellAngle = 1;
    }
}

void TCellGraphic::GetPictureSize(int cw, int rh, bool /*hastext*/, QSize& size) const
{
    if (CellType != ctPicture && CellType != ctFilePicture)
        return;
    int w = 0;
    int h = 0;
    if (const auto* img = std::get_if<QImage>(&m_bitmap)) {
        w = img->width();
        h = img->height();
    } else if (const auto* file = std::get_if<FilePictureRef>(&m_bitmap)) {
        w = file->width;
        h = file->height;
    }
    const int aw = cw - CellIndex;
    const int ah = rh - CellIndex;
    const auto aspect = [&](bool capAtOne) {
        double rx = w <= 0 ? 1.0 : double(aw) / w;
        double ry = h <= 0 ? 1.0 : double(ah) / h;
        if (capAtOne) {
            rx = std::min(rx, 1.0);
            ry = std::min(ry, 1.0);
        }
        if (rx < ry)
            return QSize(aw, int(std::lround(h * rx)));
        return QSize(int(std::lround(w * ry)), ah);
    };
    switch (TStretchMode(CellAngle)) {
    case noStretch: size = QSize(w, h); break;
    case Stretch: size = QSize(aw, ah); break;
    case Shrink: size = (w > aw || h > ah) ? QSize(aw, ah) : QSize(w, h); break;
    case StretchWithAspectRatio: size = aspect(false); break;
    case ShrinkWithAspectRatio: size = (w <= aw && h <= ah) ? QSize(w, h) : aspect(true); break;
    default: size = QSize(w, h); break;
    }
}

void TCellGraphic::Assign(const TCellGraphic& source)
{
    CellType = source.CellType;
    CellHAlign = source.CellHAlign;
    CellVAlign = source.CellVAlign;
    CellIndex = source.CellIndex;
    CellTransparent = source.CellTransparent;
    CellValue = source.CellValue;
    CellAngle = source.CellAngle;
    CellBoolean = source.CellBoolean;
    CellErrFrom = source.CellErrFrom;
    CellErrLen = source.CellErrLen;
    CellText = source.CellText;
    CellCreated = source.CellCreated;
}

bool isCheckBoxKind(TCellType kind)
{
    return TCellTypes{ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox}
        .contains(kind);
}

bool isDataCheckBoxKind(TCellType kind)
{
    return kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRowCheckBox;
}

bool isClickableKind(TCellType kind)
{
    return TCellTypes{ctCheckBox,     ctDataCheckBox, ctRadio,       ctButton,
                      ctVirtCheckBox, ctRowCheckBox,  ctRadioButton, ctTriStateCheckBox}
        .contains(kind);
}

namespace {

bool inGrid(const CellGraphicHost& host, int c, int r)
{
    // Hidden rows count: the grid keeps their cells (and check boxes) while they are hidden.
    return c >= 0 && r >= 0 && c < host.totalColCount()
           && r < host.rowCount() + host.numHiddenRows();
}

}  // namespace

TCellGraphic* GetCellGraphic(const CellGraphicHost& host, int c, int r)
{
    if (!inGrid(host, c, r))
        return nullptr;
    if (TCellGraphic* shared = host.sharedGraphic(c, r))
        return shared;
    return host.ownGraphic(c, r);
}

TCellType GetCellType(const CellGraphicHost& host, int c, int r)
{
    const TCellGraphic* g = GetCellGraphic(host, c, r);
    return g ? g->CellType : ctEmpty;
}

TCellGraphic* CreateCellGraphic(CellGraphicHost& host, int c, int r)
{
    if (!inGrid(host, c, r))
        return nullptr;
    // The new graphic replaces the cell's own one (freed with it); a shared graphic stays.
    auto g = std::make_unique<TCellGraphic>();
    TCellGraphic* result = g.get();
    // The rows past the shown ones up to the hidden count pass the check above but have no
    // properties to hold a graphic: the graphic was freed and then written through the
    // pointer answered here. A refused graphic is answered as none.
    if (!host.setOwnGraphic(c, r, std::move(g)))
        return nullptr;
    const int dc = host.displColIndex(c);
    if (dc != c)
        host.repaintCell(dc, r);
    return result;
}

bool RemoveCellGraphic(CellGraphicHost& host, int c, int r)
{
    const TCellGraphic* g = GetCellGraphic(host, c, r);
    if (!g)
        return false;
    // Taking the own graphic frees it; a shared graphic is only handed out, never owned here.
    host.takeOwnGraphic(c, r);
    if (!host.isDestroying())
        host.repaintCell(host.displColIndex(c), r);
    return true;
}

bool RemoveCellGraphicOfType(CellGraphicHost& host, int c, int r, TCellType kind)
{
    if (GetCellType(host, c, r) != kind)
        return false;
    return RemoveCellGraphic(host, c, r);
}

bool HasCellGraphicKind(const CellGraphicHost& host, int baseCol, int baseRow, TCellTypes kinds)
{
    const TCellGraphic* g = GetCellGraphic(host, baseCol, baseRow);
    return g && kinds.contains(g->CellType);
}

qint64 GetCellImageKey(const CellGraphicHost& host, int c, int r)
{
    const TCellGraphic* g = GetCellGraphic(host, c, r);
    if (!g)
        return -1;
    switch (g->CellType) {
    case ctBitmap:
        if (const auto* img = std::get_if<QImage>(&g->cellBitmap()))
            return img->cacheKey();
        return -1;
    case ctIcon:
        if (const auto* icon = std::get_if<QIcon>(&g->cellIcon()))
            return icon->cacheKey();
        return -1;
    case ctImageList: return g->CellIndex;
    default: return -1;
    }
}

QSize CalcCellGraphicSize(const TCellGraphic* g, const GraphicSizeContext& ctx, int extraHeight)
{
    if (!g)
        return {0, 0};
    const bool hasText = ctx.cellHasText;
    const auto textWidth = [&](const QString& s) { return ctx.textWidth ? ctx.textWidth(s) : 0; };
    const bool besideText = g->CellHAlign == haBeforeText || g->CellHAlign == haAfterText;
    const bool aboveOrUnder = g->CellVAlign == vaUnderText || g->CellVAlign == vaAboveText;
    const auto byHorzRule = [&](int w) { return (besideText || !hasText) ? w : 0; };
    const auto byVertRule = [&](int h) { return (aboveOrUnder || !hasText) ? h : 0; };
    const QSize list = ctx.imageListSize.isValid() ? ctx.imageListSize : QSize(0, 0);

    QSize s(0, 0);
    switch (g->CellType) {
    case ctIcon:
        if (const auto* icon = std::get_if<QIcon>(&g->cellIcon())) {
            const QSize is = icon->availableSizes().value(0);
            s = QSize(byHorzRule(is.width()), is.height());
        }
        break;
    case ctBitmap:
        if (const auto* img = std::get_if<QImage>(&g->cellBitmap()))
            s = QSize(byHorzRule(img->width()), byVertRule(img->height()));
        break;
    case ctImageList:
    case ctDataImage: s = QSize(byHorzRule(list.width()), byVertRule(list.height())); break;
    case ctPicture:
    case ctFilePicture:
        g->GetPictureSize(ctx.cellRect.Width() - (ctx.totalXOffset + 1),
                          ctx.cellRect.Height() - (ctx.totalYOffset + extraHeight + 1), hasText, s);
        break;
    case ctButton:
    case ctBitButton: {
        int w = g->buttonWidth();
        int h = g->buttonHeight();
        if (hasText) {
            if (g->CellHAlign == haCenter)
                w = 0;
            else if (g->CellHAlign == haFull)
                w = textWidth(g->CellText) + 4;
            if (aboveOrUnder)
                w = 0;
            else
                h = 0;
        } else if (g->CellHAlign == haFull) {
            w = textWidth(g->CellText) + 4;
        }
        s = QSize(w, h);
        break;
    }
    case ctInterface:
        if (const auto* obj = std::get_if<ICellInterface*>(&g->cellBitmap()); obj && *obj) {
            s = QSize((*obj)->width(), (*obj)->height());
            if (s.width() == 0 || s.height() == 0)
                s = QSize(ctx.cellRect.Width(), ctx.cellRect.Height());
        }
        break;
    case ctProgressPie: s = QSize(20, 20); break;
    case ctRadioButton: s = QSize(ctx.radioSize, ctx.radioSize); break;
    case ctCheckBox:
    case ctDataCheckBox:
    case ctVirtCheckBox:
    case ctRowCheckBox:
    case ctTriStateCheckBox: s = QSize(ctx.checkSize, ctx.checkSize); break;
    case ctRadio:
        if (const auto* items = std::get_if<QStringList>(&g->cellBitmap())) {
            if (g->CellBoolean) {
                int w = 0;
                for (const QString& item : *items)
                    w += textWidth(item) + 12;
                s = QSize(w, ctx.textHeightGh);
            } else {
                int w = 12;
                for (const QString& item : *items)
                    w = std::max(w, textWidth(item) + 12);
                s = QSize(w, std::max(16, ctx.textHeightGh) * int(items->size()));
            }
        }
        break;
    case ctRating: s = QSize(g->CellAngle * 18, 16); break;
    case ctImages:
        if (const auto* images = std::get_if<QList<int>>(&g->cellBitmap())) {
            const int n = int(images->size());
            s = g->CellBoolean ? QSize(n * list.width(), list.height())
                               : QSize(list.width(), n * list.height());
        }
        break;
    default: break;
    }

    const bool captionedButtonWithoutText = (g->CellType == ctButton || g->CellType == ctBitButton)
                                            && !g->CellText.isEmpty() && !hasText;
    const bool fullWidthApplies = g->CellHAlign == haFull && g->CellType != ctRating
                                  && !captionedButtonWithoutText;
    if (g->CellVAlign == vaFull || fullWidthApplies) {
        if (g->CellVAlign == vaFull)
            s.setHeight(ctx.cellRect.Height());
        if (g->CellHAlign == haFull)
            s.setWidth(ctx.cellRect.Width());
    }
    return s;
}

}  // namespace zfw
