#pragma once
// Accessible objects of trees from providers: a registry that whoever wants trees to have
// accessible objects of their own creates and installs. With nothing installed, or no provider
// registered, a tree keeps Qt's default accessible widget.

#include <memory>
#include <vector>

class QAccessibleInterface;

namespace zfw {

class TBaseLazyTree;

// A source of accessible objects for trees.
class ILTAccessibleProvider {
public:
    virtual ~ILTAccessibleProvider() = default;
    // An accessible object for the tree, or nil. Qt's accessibility cache takes it over; its
    // object() must be the tree, so that Qt deletes it with the tree.
    virtual QAccessibleInterface* CreateIAccessible(TBaseLazyTree* tree) = 0;
};

// The providers in the order they were registered. The first makes a tree's own object; later
// ones may make the object of its focused node (the accessible item), the last asked first.
class TLTAccessibilityFactory {
public:
    TLTAccessibilityFactory() = default;
    TLTAccessibilityFactory(const TLTAccessibilityFactory&) = delete;
    TLTAccessibilityFactory& operator=(const TLTAccessibilityFactory&) = delete;
    // Uninstalls itself when it is the installed registry.
    ~TLTAccessibilityFactory();

    // Appended unless already registered.
    void RegisterAccessibleProvider(std::shared_ptr<ILTAccessibleProvider> provider);
    // Removed when registered; nothing otherwise.
    void UnRegisterAccessibleProvider(const std::shared_ptr<ILTAccessibleProvider>& provider);
    std::size_t providerCount() const { return m_providers.size(); }

    // The accessible object for a tree: from the first provider while the tree has no object
    // of its own, else the tree's item when it has one, else from the providers from the last
    // down to the second, the first answering, or from the first one. Nil without providers
    // or for a nil tree.
    QAccessibleInterface* CreateIAccessible(TBaseLazyTree* tree);

    // Makes this registry the one Qt asks when it needs the accessible object of a tree:
    // the tree's own object and its item are made on that first request. One registry is
    // installed at a time; installing another replaces it.
    void install();
    void uninstall();
    bool isInstalled() const;

private:
    std::vector<std::shared_ptr<ILTAccessibleProvider>> m_providers;
};

}  // namespace zfw
