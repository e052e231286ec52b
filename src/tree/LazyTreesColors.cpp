#include "tree/LazyTreesColors.h"

namespace zfw {

TLTColors::TLTColors()
    : m_colors{clBtnShadow, clHighlight, clHighlight,  clHighlight,     clBtnFace, clBtnShadow,
               clBtnFace,   clBtnFace,   clWindowText, clHighlight,     clBtnFace, clHighlight,
               clHighlight, clHighlight, clBtnShadow,  clHighlightText, clBtnFace}
{
}

TColor TLTColors::GetColor(int index) const
{
    return index >= 0 && index < Count ? m_colors[std::size_t(index)] : 0;
}

void TLTColors::SetColor(int index, TColor value)
{
    if (index < 0 || index >= Count || m_colors[std::size_t(index)] == value)
        return;
    m_colors[std::size_t(index)] = value;
    if (onChanged)
        onChanged(index);
}

void TLTColors::Assign(const TLTColors& source)
{
    m_colors = source.m_colors;
    if (onAssigned)
        onAssigned();
}

void TScrollBarOptions::SetAlwaysVisible(bool value)
{
    if (FAlwaysVisible == value)
        return;
    FAlwaysVisible = value;
    if (onChanged)
        onChanged();
}

void TScrollBarOptions::SetScrollBars(TScrollStyle value)
{
    if (FScrollBars == value)
        return;
    FScrollBars = value;
    if (onChanged)
        onChanged();
}

void TScrollBarOptions::Assign(const TScrollBarOptions& source)
{
    SetAlwaysVisible(source.FAlwaysVisible);
    FIncrementX = source.FIncrementX;
    SetScrollBars(source.FScrollBars);
    SetScrollBarStyle(source.FScrollBarStyle);
    FIncrementY = source.FIncrementY;
}

void TLTFixedAreaConstraints::Set(int index, int value)
{
    if (index < 0 || index > 3)
        return;
    const std::uint8_t v = std::uint8_t(value < 0 ? 0 : value > 100 ? 100 : value);
    if (m_values[std::size_t(index)] == v)
        return;
    m_values[std::size_t(index)] = v;
    auto& maxH = m_values[MaxHeightPercent];
    auto& maxW = m_values[MaxWidthPercent];
    auto& minH = m_values[MinHeightPercent];
    auto& minW = m_values[MinWidthPercent];
    switch (index) {
    case MaxHeightPercent:
        if (v > 0 && v < minH)
            minH = v;
        break;
    case MaxWidthPercent:
        if (v > 0 && v < minW)
            minW = v;
        break;
    case MinHeightPercent:
        if (maxH > 0 && maxH < v)
            maxH = v;
        break;
    case MinWidthPercent:
        if (maxW > 0 && maxW < v)
            maxW = v;
        break;
    }
    if (OnChange)
        OnChange(*this);
}

void TLTFixedAreaConstraints::Assign(const TLTFixedAreaConstraints& source)
{
    m_values = source.m_values;
    if (OnChange)
        OnChange(*this);
}

}  // namespace zfw
