#pragma once
// The draw tree: the base tree whose cell content and width come wholly from its owner's
// events, for owners that paint more than a text.

#include "tree/LazyTreesControl.h"

namespace zfw {

enum TLTCellContentMarginType : std::uint8_t { ccmtAllSides, ccmtTopLeftOnly, ccmtBottomRightOnly };

class TCustomLazyDrawTree : public TBaseLazyTree {
public:
    explicit TCustomLazyDrawTree(QWidget* parent = nullptr) : TBaseLazyTree(parent) {}

    // Paints a cell's content: the paint record gives the canvas, the node, the column and
    // the rectangles (content without the indentation, images and check box).
    std::function<void(TBaseLazyTree& sender, const TLTPaintInfo& paintInfo)> OnDrawNode;
    // The width of a node's content; it starts as 2 x TextMargin. The canvas measures in the
    // tree's font.
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       int& nodeWidth)>
        OnGetNodeWidth;
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       TLTCellContentMarginType marginType, QPoint& margin)>
        OnGetCellContentMargin;

    // The margin around a cell's content; (0, 0) unless OnGetCellContentMargin says otherwise.
    QPoint DoGetCellContentMargin(PLazyNode node, TColumnIndex column,
                                  TLTCellContentMarginType marginType = ccmtAllSides);

protected:
    void DoPaintNode(TLTPaintInfo& info) override;
    // The draw tree's hints are drawn by its owner unless OnGetHintKind says otherwise.
    TLTHintKind GetDefaultHintKind() const override { return vhkOwnerDraw; }
    QPoint hintCellContentMargin(PLazyNode node, TColumnIndex column) override;
    int DoGetNodeWidth(PLazyNode node, TColumnIndex column) override;
};

class TLazyDrawTree : public TCustomLazyDrawTree {
public:
    using TCustomLazyDrawTree::TCustomLazyDrawTree;
};

}  // namespace zfw
