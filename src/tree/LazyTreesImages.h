#pragma once
// The pictures a tree draws: image lists (equal-sized images the owner indexes) and the check
// image strips (25 images in the order of the check image index table).

#include <QImage>
#include <QPalette>

#include <array>
#include <vector>

class QStyle;

namespace zfw {

class TImageList {
public:
    TImageList(int width, int height) : m_width(width), m_height(height) {}
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Count() const { return int(m_images.size()); }
    // Appends a picture scaled to the list's size; returns its index.
    int Add(const QImage& image);
    // The picture at index; a null image for an index outside the list (an owner's odd answer
    // draws nothing).
    const QImage& image(int index) const;
    // The overlay masks: overlay 1 to 15 names one of the list's images, drawn over another
    // image on request. Other overlay numbers are ignored; an unset one gives -1.
    void SetOverlayImage(int image, int overlay);
    int OverlayImage(int overlay) const;

private:
    int m_width;
    int m_height;
    std::vector<QImage> m_images;
    std::array<int, 16> m_overlays{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
};

enum TCheckImageKind : std::uint8_t {
    ckLightCheck,
    ckDarkCheck,
    ckLightTick,
    ckDarkTick,
    ckFlat,
    ckXP,
    ckCustom,
    ckSystemFlat,
    ckSystemDefault
};

// The check images of one kind: image 0 empty, 1 to 20 the radio, check and mixed forms
// (normal, hot, pressed, disabled each), 21 to 24 push buttons. Drawn once with the style's
// check and radio primitives; a window may share one set among its trees.
class TCheckImageSet {
public:
    TCheckImageSet(const QStyle* style, const QPalette& palette, bool flat);
    // One of the tree's own looks (ckLightCheck to ckXP), 16 x 16, drawn here: light or dark
    // boxes with a check or a bolder tick, a flat box, and a fixed-colour look of rounded
    // boxes. The palette gives the colours of all but ckXP.
    TCheckImageSet(TCheckImageKind kind, const QPalette& palette);
    // An owner's own pictures (CustomCheckImages), indexed by the same table; a list with
    // fewer images leaves the missing forms undrawn.
    explicit TCheckImageSet(const TImageList& custom) : m_images(custom) {}
    const TImageList& images() const { return m_images; }

private:
    TImageList m_images;
};

}  // namespace zfw
