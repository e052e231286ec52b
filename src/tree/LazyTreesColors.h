#pragma once
// The three small option objects the tree and its header own: the tree's colours, its
// scroll-bar options and the header's fixed-area limits. They hold no widget; each tells its
// owner about a change through a callback the owner sets, so they are tested as plain data.

#include "platform/Colors.h"

#include <array>
#include <cstdint>
#include <functional>

namespace zfw {

class TLTColors {
public:
    enum Index : int {
        DisabledColor,
        DropMarkColor,
        DropTargetColor,
        FocusedSelectionColor,
        GridLineColor,
        TreeLineColor,
        UnfocusedSelectionColor,
        BorderColor,
        HotColor,
        FocusedSelectionBorderColor,
        UnfocusedSelectionBorderColor,
        DropTargetBorderColor,
        SelectionRectangleBlendColor,
        SelectionRectangleBorderColor,
        HeaderHotColor,
        SelectionTextColor,
        UnfocusedColor,
        Count
    };

    TLTColors();

    // The stored colour; out-of-range indexes read as 0. There are no framework visual styles
    // on this platform, so the stored value is always the effective one.
    TColor GetColor(int index) const;
    // Stores the colour and reports the index to onChanged; an unchanged value does nothing.
    // Out-of-range indexes are ignored.
    void SetColor(int index, TColor value);
    // Copies all colours without the per-colour reactions, then calls onAssigned.
    void Assign(const TLTColors& source);
    bool operator==(const TLTColors& o) const { return m_colors == o.m_colors; }

    // Set by the owner: a single colour changed (index), all colours were assigned.
    std::function<void(int index)> onChanged;
    std::function<void()> onAssigned;

private:
    std::array<TColor, Count> m_colors;
};

enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollBarStyle : std::uint8_t { sbmRegular, sbm3D };

class TScrollBarOptions {
public:
    bool AlwaysVisible() const { return FAlwaysVisible; }
    void SetAlwaysVisible(bool value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    TScrollBarStyle ScrollBarStyle() const { return FScrollBarStyle; }
    // Stored only; nothing depends on it.
    void SetScrollBarStyle(TScrollBarStyle value) { FScrollBarStyle = value; }
    // Pixels of one line scroll, kept within 1..10000.
    int HorizontalIncrement() const { return FIncrementX; }
    void SetHorizontalIncrement(int value) { FIncrementX = clampIncrement(value); }
    int VerticalIncrement() const { return FIncrementY; }
    void SetVerticalIncrement(int value) { FIncrementY = clampIncrement(value); }
    bool hasHorizontal() const { return FScrollBars == ssHorizontal || FScrollBars == ssBoth; }
    bool hasVertical() const { return FScrollBars == ssVertical || FScrollBars == ssBoth; }
    void Assign(const TScrollBarOptions& source);

    // Called when AlwaysVisible or ScrollBars really changed: the owner re-applies its bars.
    std::function<void()> onChanged;

private:
    static std::uint16_t clampIncrement(int v)
    {
        return std::uint16_t(v < 1 ? 1 : v > 10000 ? 10000 : v);
    }
    bool FAlwaysVisible = false;
    TScrollStyle FScrollBars = ssBoth;
    TScrollBarStyle FScrollBarStyle = sbmRegular;
    std::uint16_t FIncrementX = 20;
    std::uint16_t FIncrementY = 20;
};

// Percent limits (0..100, 0 = off) of the header height and of the fixed columns' width,
// relative to the tree's client area.
class TLTFixedAreaConstraints {
public:
    enum Index : int { MaxHeightPercent, MaxWidthPercent, MinHeightPercent, MinWidthPercent };

    int Get(int index) const { return index >= 0 && index < 4 ? m_values[index] : 0; }
    // Values above 100 are taken as 100. A maximum below its minimum pulls the minimum down;
    // a minimum above a set maximum pushes the maximum up.
    void Set(int index, int value);
    // Copies the four limits as they are, without reconciling them.
    void Assign(const TLTFixedAreaConstraints& source);
    // Takes the four limits as they are, without reconciling them and without OnChange.
    void SetStored(const std::array<std::uint8_t, 4>& values) { m_values = values; }

    std::function<void(TLTFixedAreaConstraints&)> OnChange;

private:
    std::array<std::uint8_t, 4> m_values{0, 0, 0, 0};
};

}  // namespace zfw
