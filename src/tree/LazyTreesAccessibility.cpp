// The accessibility registry of trees, Qt's factory that asks it, and what a tree announces
// to accessibility clients.

#include "tree/LazyTreesAccessibility.h"

#include "tree/LazyTreesControl.h"

#include <QAccessible>

#include <algorithm>

namespace zfw {

namespace {

// Qt's accessibility factories are plain functions without a context argument, so the
// installed registry has to be found through this one pointer: the only installation point,
// set and cleared by TLTAccessibilityFactory::install and uninstall (and its destructor).
TLTAccessibilityFactory* g_installedFactory = nullptr;

QAccessibleInterface* treeAccessibleFactory(const QString&, QObject* object)
{
    auto* tree = qobject_cast<TBaseLazyTree*>(object);
    if (!tree || !g_installedFactory)
        return nullptr;
    // The tree's own object first, then its item (which a later provider may supply). Qt's
    // cache takes the own object when this returns; a separate item, which belongs to no
    // QObject, is put into the cache here and released by the tree when it goes.
    if (!tree->Accessible())
        tree->SetAccessible(g_installedFactory->CreateIAccessible(tree));
    if (!tree->AccessibleItem()) {
        QAccessibleInterface* item = g_installedFactory->CreateIAccessible(tree);
        if (item && item != tree->Accessible() && !item->object())
            QAccessible::registerAccessibleInterface(item);
        tree->SetAccessibleItem(item);
    }
    return tree->Accessible();
}

}  // namespace

TLTAccessibilityFactory::~TLTAccessibilityFactory()
{
    if (isInstalled())
        uninstall();
}

void TLTAccessibilityFactory::RegisterAccessibleProvider(
    std::shared_ptr<ILTAccessibleProvider> provider)
{
    if (provider
        && std::find(m_providers.begin(), m_providers.end(), provider) == m_providers.end())
        m_providers.push_back(std::move(provider));
}

void TLTAccessibilityFactory::UnRegisterAccessibleProvider(
    const std::shared_ptr<ILTAccessibleProvider>& provider)
{
    auto it = std::find(m_providers.begin(), m_providers.end(), provider);
    if (it != m_providers.end())
        m_providers.erase(it);
}

QAccessibleInterface* TLTAccessibilityFactory::CreateIAccessible(TBaseLazyTree* tree)
{
    if (!tree || m_providers.empty())
        return nullptr;
    if (!tree->Accessible())
        return m_providers.front()->CreateIAccessible(tree);
    if (tree->AccessibleItem())
        return tree->AccessibleItem();
    for (std::size_t i = m_providers.size() - 1; i >= 1; --i)
        if (QAccessibleInterface* result = m_providers[i]->CreateIAccessible(tree))
            return result;
    return m_providers.front()->CreateIAccessible(tree);
}

void TLTAccessibilityFactory::install()
{
    g_installedFactory = this;
    QAccessible::installFactory(&treeAccessibleFactory);
}

void TLTAccessibilityFactory::uninstall()
{
    if (g_installedFactory == this) {
        g_installedFactory = nullptr;
        QAccessible::removeFactory(&treeAccessibleFactory);
    }
}

bool TLTAccessibilityFactory::isInstalled() const { return g_installedFactory == this; }

// ----- the tree's announcements ------------------------------------------------------------
// Sent whether or not a provider made objects for the tree: Qt drops them while no
// accessibility client listens, and without providers nothing else would tell a screen reader
// of a change.

void TBaseLazyTree::announce(QAccessibleEvent* event)
{
    if (m_accessibilityAnnouncer)
        m_accessibilityAnnouncer(*event);
    else
        QAccessible::updateAccessibility(event);
}

void TBaseLazyTree::announceStateChange(QAccessible::State changed)
{
    QAccessibleStateChangeEvent event(this, changed);
    announce(&event);
}

void TBaseLazyTree::releaseAccessible()
{
    if (FAccessibleItem && FAccessibleItem != FAccessible && !FAccessibleItem->object()) {
        if (const QAccessible::Id id = QAccessible::uniqueId(FAccessibleItem))
            QAccessible::deleteAccessibleInterface(id);
    }
    FAccessibleItem = nullptr;
    FAccessible = nullptr;
}

void TBaseLazyTree::accessibleNameChanged()
{
    QAccessibleEvent event(this, QAccessible::NameChanged);
    announce(&event);
}

void TBaseLazyTree::DoFocusChanged(PLazyNode node, TColumnIndex column)
{
    LazyTreeModel::DoFocusChanged(node, column);
    QAccessibleEvent location(this, QAccessible::LocationChanged);
    announce(&location);
    QAccessibleEvent name(this, QAccessible::NameChanged);
    announce(&name);
    QAccessibleValueChangeEvent value(this, QVariant());
    announce(&value);
    QAccessible::State state;
    state.focused = true;
    state.selected = true;
    QAccessibleStateChangeEvent stateChange(this, state);
    announce(&stateChange);
    QAccessibleEvent selection(this, QAccessible::Selection);
    announce(&selection);
    QAccessibleEvent focus(this, QAccessible::Focus);
    announce(&focus);
}

void TBaseLazyTree::DoChecked(PLazyNode node)
{
    LazyTreeModel::DoChecked(node);
    QAccessible::State state;
    state.checked = true;
    announceStateChange(state);
}

}  // namespace zfw
