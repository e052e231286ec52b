// Accessible objects of trees: the provider registry's choices, Qt asking the installed
// registry, Qt's default object without providers, and the changes trees announce.

#include "tree/LazyTreesAccessibility.h"
#include "tree/LazyTreesControl.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace zfw::test {
namespace {

// The accessible object of a node: it belongs to no QObject.
class NodeItem final : public QAccessibleInterface {
public:
    explicit NodeItem(QString name) : m_name(std::move(name)) {}
    bool isValid() const override { return true; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text) const override { return m_name; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QAccessible::State state() const override { return {}; }

private:
    QString m_name;
};

// Makes the tree's object while the tree has none, else a node's object; both carry the
// provider's name. Or nothing, when told to refuse.
class Provider final : public ILTAccessibleProvider {
public:
    explicit Provider(QString name) : m_name(std::move(name)) {}
    QAccessibleInterface* CreateIAccessible(TBaseLazyTree* tree) override
    {
        ++asked;
        if (refuse)
            return nullptr;
        if (tree->Accessible())
            return new NodeItem(m_name);
        return new QAccessibleWidget(tree, QAccessible::Tree, m_name);
    }
    bool refuse = false;
    int asked = 0;

private:
    QString m_name;
};

QString nameOf(QAccessibleInterface* iface)
{
    return iface ? iface->text(QAccessible::Name) : QString();
}

// Objects made outside Qt's request go into its cache, which alone may delete them.
QAccessible::Id cached(QAccessibleInterface* iface)
{
    return iface ? QAccessible::registerAccessibleInterface(iface) : 0;
}

TEST(TreeAccessibility, RegistryKeepsEachProviderOnce)
{
    TLTAccessibilityFactory factory;
    auto a = std::make_shared<Provider>("A");
    auto b = std::make_shared<Provider>("B");
    factory.RegisterAccessibleProvider(a);
    factory.RegisterAccessibleProvider(a);
    factory.RegisterAccessibleProvider(nullptr);
    EXPECT_EQ(factory.providerCount(), 1u);
    factory.UnRegisterAccessibleProvider(b);
    EXPECT_EQ(factory.providerCount(), 1u);
    factory.UnRegisterAccessibleProvider(a);
    EXPECT_EQ(factory.providerCount(), 0u);
    TBaseLazyTree tree;
    EXPECT_EQ(factory.CreateIAccessible(&tree), nullptr);
    EXPECT_EQ(factory.CreateIAccessible(nullptr), nullptr);
}

struct ChoiceCase {
    const char* name;
    bool secondRefuses;
    const char* item;
};

class TreeAccessibilityChoice : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(TreeAccessibilityChoice, FirstProviderMakesTheTreeObjectLaterOnesTheItem)
{
    TLTAccessibilityFactory factory;
    auto a = std::make_shared<Provider>("A");
    auto b = std::make_shared<Provider>("B");
    b->refuse = GetParam().secondRefuses;
    factory.RegisterAccessibleProvider(a);
    factory.RegisterAccessibleProvider(b);
    TBaseLazyTree tree;
    QAccessibleInterface* own = factory.CreateIAccessible(&tree);
    const QAccessible::Id ownId = cached(own);
    EXPECT_EQ(nameOf(own), "A");
    EXPECT_EQ(b->asked, 0);
    tree.SetAccessible(own);
    QAccessibleInterface* item = factory.CreateIAccessible(&tree);
    const QAccessible::Id itemId = cached(item);
    EXPECT_EQ(nameOf(item), GetParam().item);
    // Once the tree has its item, that item is the answer.
    tree.SetAccessibleItem(item);
    EXPECT_EQ(factory.CreateIAccessible(&tree), item);
    tree.SetAccessible(nullptr);
    tree.SetAccessibleItem(nullptr);
    QAccessible::deleteAccessibleInterface(itemId);
    QAccessible::deleteAccessibleInterface(ownId);
}

const ChoiceCase kChoiceCases[] = {{"SecondAnswers", false, "B"}, {"SecondRefuses", true, "A"}};
INSTANTIATE_TEST_SUITE_P(Cases, TreeAccessibilityChoice, ::testing::ValuesIn(kChoiceCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TreeAccessibility, QtAsksTheInstalledRegistry)
{
    TLTAccessibilityFactory factory;
    factory.install();
    ASSERT_TRUE(factory.isInstalled());
    {
        // Without providers the tree keeps Qt's default object.
        auto tree = std::make_unique<TBaseLazyTree>();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(tree.get());
        ASSERT_NE(iface, nullptr);
        EXPECT_EQ(iface->object(), tree.get());
        EXPECT_EQ(tree->Accessible(), nullptr);
        EXPECT_EQ(tree->AccessibleItem(), nullptr);
    }
    auto a = std::make_shared<Provider>("A");
    auto b = std::make_shared<Provider>("B");
    factory.RegisterAccessibleProvider(a);
    factory.RegisterAccessibleProvider(b);
    {
        auto tree = std::make_unique<TBaseLazyTree>();
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(tree.get());
        EXPECT_EQ(iface, tree->Accessible());
        EXPECT_EQ(nameOf(iface), "A");
        EXPECT_EQ(nameOf(tree->AccessibleItem()), "B");
        // Asked again, Qt answers from its cache.
        EXPECT_EQ(QAccessible::queryAccessibleInterface(tree.get()), iface);
        EXPECT_EQ(a->asked, 1);
    }
    factory.uninstall();
    EXPECT_FALSE(factory.isInstalled());
    auto tree = std::make_unique<TBaseLazyTree>();
    EXPECT_NE(nameOf(QAccessible::queryAccessibleInterface(tree.get())), "A");
}

TEST(TreeAccessibility, FocusAndStateChangesAreAnnounced)
{
    std::vector<QAccessible::Event> events;
    TBaseLazyTree tree;
    tree.SetAccessibilityAnnouncer([&](QAccessibleEvent& e) {
        EXPECT_EQ(e.object(), &tree);
        events.push_back(e.type());
    });
    tree.SetRootNodeCount(3);
    PLazyNode first = tree.GetFirst();
    first->States.include(vsHasChildren);
    tree.SetChildCount(first, 1);

    // No provider is registered: Qt's own object of the tree is told.
    tree.SetFocusedNode(first->NextSibling);
    EXPECT_EQ(events,
              (std::vector<QAccessible::Event>{QAccessible::LocationChanged,
                                               QAccessible::NameChanged, QAccessible::ValueChanged,
                                               QAccessible::StateChanged, QAccessible::Selection,
                                               QAccessible::Focus}));
    events.clear();
    tree.ToggleNode(first);
    tree.ToggleNode(first);
    tree.SetCheckType(first, ctCheckBox);
    tree.SetCheckState(first, csCheckedNormal);
    EXPECT_EQ(events,
              (std::vector<QAccessible::Event>{QAccessible::StateChanged, QAccessible::StateChanged,
                                               QAccessible::StateChanged}));
}

}  // namespace
}  // namespace zfw::test
