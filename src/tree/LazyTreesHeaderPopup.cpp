// The header's column menu.

#include "tree/LazyTreesHeaderPopup.h"

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesHeader.h"
#include "tree/LazyTreesImages.h"

#include <QAction>
#include <QPixmap>

namespace zfw {

void TLTHeaderPopupMenu::SetPopupComponent(TBaseLazyTree* tree) { m_tree = tree; }

void TLTHeaderPopupMenu::Popup(QPoint pos)
{
    if (TBaseLazyTree* tree = m_tree.data())
        rebuildItems(*tree);
    popup(pos);
}

void TLTHeaderPopupMenu::rebuildItems(TBaseLazyTree& tree)
{
    clear();
    TLTHeader& header = tree.Header();
    TLazyTreeColumns& columns = header.Columns();
    if (FOptions.contains(poResizeToFitItem)) {
        QAction* item = addAction(QStringLiteral("&Resize All Columns To Fit"));
        item->setObjectName(QLatin1String(ResizeToFitItemName));
        connect(item, &QAction::triggered, this,
                [this, item](bool checked) { ItemClick(item, checked); });
        addSeparator();
    }
    const TImageList* images = header.Options().contains(hoShowImages) ? header.Images() : nullptr;
    int visibleCount = 0;
    QAction* lastVisibleItem = nullptr;
    for (int position = 0; position < columns.Count(); ++position) {
        const TColumnIndex index = FOptions.contains(poOriginalOrder)
                                       ? TColumnIndex(position)
                                       : columns.ColumnFromPosition(TColumnPosition(position));
        if (!columns.IsValidColumn(index))
            continue;
        const TLazyTreeColumn& column = columns.Items(index);
        const bool visible = column.IsVisible();
        if (visible)
            ++visibleCount;
        TAddPopupItemType cmd = apNormal;
        DoAddHeaderPopupItem(index, cmd);
        if (cmd == apHidden)
            continue;
        QAction* item = addAction(column.Text());
        item->setData(index);
        item->setToolTip(column.Hint());
        item->setStatusTip(column.Hint());
        if (images && column.ImageIndex() >= 0 && !images->image(column.ImageIndex()).isNull())
            item->setIcon(QPixmap::fromImage(images->image(column.ImageIndex())));
        item->setCheckable(true);
        item->setChecked(visible);
        connect(item, &QAction::triggered, this,
                [this, item](bool checked) { ItemClick(item, checked); });
        if (cmd == apDisabled)
            item->setEnabled(false);
        else if (visible)
            lastVisibleItem = item;
    }
    // The last visible column cannot be hidden: a header without columns to show could not
    // be brought back through this menu.
    if (visibleCount == 1 && lastVisibleItem && !FOptions.contains(poAllowHideAll))
        lastVisibleItem->setEnabled(false);
}

void TLTHeaderPopupMenu::ItemClick(QAction* item, bool checked)
{
    TBaseLazyTree* tree = m_tree.data();
    if (!tree)
        return;
    TLTHeader& header = tree->Header();
    if (item->objectName() == QLatin1String(ResizeToFitItemName)) {
        header.AutoFitColumns(true, smaUseColumnOption, -1, -1);
        return;
    }
    TLazyTreeColumns& columns = header.Columns();
    const TColumnIndex index = item->data().toInt();
    // The columns may have changed since the menu was built.
    if (!columns.IsValidColumn(index))
        return;
    TLazyTreeColumn& column = columns.Items(index);
    // A checkable item is already flipped when it reports the click: checked is the new state.
    const bool visible = checked;
    TLTColumnOptions options = column.Options();
    if (visible)
        options.include(coVisible);
    else
        options.exclude(coVisible);
    column.SetOptions(options);
    DoColumnChange(index, visible);
}

void TLTHeaderPopupMenu::DoAddHeaderPopupItem(TColumnIndex column, TAddPopupItemType& cmd)
{
    cmd = apNormal;
    if (OnAddHeaderPopupItem && m_tree)
        OnAddHeaderPopupItem(*m_tree, column, cmd);
}

void TLTHeaderPopupMenu::DoColumnChange(TColumnIndex column, bool visible)
{
    if (OnColumnChange && m_tree)
        OnColumnChange(*m_tree, column, visible);
}

}  // namespace zfw
