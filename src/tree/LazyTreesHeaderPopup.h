#pragma once
// The header's column menu: over a tree it lists the tree's columns as checkable items, so the
// user can show and hide columns, with an optional item that fits all columns to their content.

#include "tree/core/LazyTrees.h"

#include <QMenu>
#include <QPointer>

#include <cstdint>
#include <functional>

namespace zfw {

class TBaseLazyTree;

enum TLTHeaderPopupOption : std::uint8_t { poOriginalOrder, poAllowHideAll, poResizeToFitItem };
using TLTHeaderPopupOptions = TSmallSet<TLTHeaderPopupOption, std::uint8_t>;

enum TAddPopupItemType : std::uint8_t { apNormal, apDisabled, apHidden };

class TLTHeaderPopupMenu : public QMenu {
public:
    explicit TLTHeaderPopupMenu(QWidget* parent = nullptr) : QMenu(parent) {}

    TLTHeaderPopupOptions Options() const { return FOptions; }
    void SetOptions(TLTHeaderPopupOptions value) { FOptions = value; }
    // The tree whose columns the menu lists; without one Popup shows the items as they are.
    TBaseLazyTree* PopupComponent() const { return m_tree.data(); }
    void SetPopupComponent(TBaseLazyTree* tree);

    // Per column: whether it gets an item, a disabled item or none (cmd starts apNormal).
    std::function<void(TBaseLazyTree& sender, TColumnIndex column, TAddPopupItemType& cmd)>
        OnAddHeaderPopupItem;
    // A column was shown or hidden through the menu.
    std::function<void(TBaseLazyTree& sender, TColumnIndex column, bool visible)> OnColumnChange;

    // Rebuilds the items over the tree, then shows the menu at pos (screen coordinates).
    virtual void Popup(QPoint pos);

    // The name of the item that fits all columns.
    static constexpr const char* ResizeToFitItemName = "LT_ResizeToFitMenuItem";

protected:
    virtual void DoAddHeaderPopupItem(TColumnIndex column, TAddPopupItemType& cmd);
    virtual void DoColumnChange(TColumnIndex column, bool visible);

private:
    void rebuildItems(TBaseLazyTree& tree);
    void ItemClick(QAction* item, bool checked);

    TLTHeaderPopupOptions FOptions;
    QPointer<TBaseLazyTree> m_tree;
};

}  // namespace zfw
