#pragma once
// Nodes on the clipboard: the formats trees know (a registry with priorities), the trees that
// are alive (so that a reference on the clipboard names a tree by number, never by address),
// and the data object that renders a tree's formats only when a receiver asks for them.

#include <QMimeData>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace zfw {

class IClipboard;
class TBaseLazyTree;

// MIME names of the tree's own formats.
inline const QString kLazyTreeDataMime = QStringLiteral("application/x-lazytree-data");
inline const QString kLazyTreeReferenceMime = QStringLiteral("application/x-lazytree-ref");

// Which trees support a format: the tree is of the registered class or derived from it.
using TLazyTreeClass = std::function<bool(const TBaseLazyTree&)>;

template <class Tree>
TLazyTreeClass lazyTreeClass()
{
    return [](const TBaseLazyTree& tree) {
        if constexpr (std::is_same_v<Tree, TBaseLazyTree>)
            return true;
        else
            return dynamic_cast<const Tree*>(&tree) != nullptr;
    };
}

struct TClipboardFormatListEntry {
    QString Description;  // the format's name
    QString MimeType;     // what carries it on this platform's clipboard
    TLazyTreeClass TreeClass;
    std::uint32_t Priority = 0;  // smaller first
};

// The formats trees can offer, kept in ascending priority.
class TClipboardFormatList {
public:
    void Add(const QString& description, const QString& mimeType, TLazyTreeClass treeClass,
             std::uint32_t priority);
    void Clear() { m_entries.clear(); }
    // Entries for the tree in list order, limited to the allowed names when given.
    std::vector<const TClipboardFormatListEntry*> EnumerateFormats(
        const TBaseLazyTree& tree, const QStringList* allowedFormats) const;
    // Names of all entries for the tree, in list order.
    QStringList EnumerateFormatNames(const TBaseLazyTree& tree) const;
    // Searched from the end, without regard to case: a name registered twice answers with the
    // entry that sorts last.
    const TClipboardFormatListEntry* FindFormat(const QString& description) const;
    // One of the predefined formats 1 to 17 by its number, under its standard name. Other
    // numbers register nothing; false then.
    bool RegisterLTClipboardFormat(int id, TLazyTreeClass treeClass, std::uint32_t priority);
    // The standard name of a predefined format; empty for other numbers.
    static QString standardFormatName(int id);

    const std::vector<TClipboardFormatListEntry>& entries() const { return m_entries; }

private:
    std::vector<TClipboardFormatListEntry> m_entries;
};

// What trees that exchange nodes share: the format registry, the directory of live trees and
// the clipboard. Trees without a shared context still copy and paste, but a paste then cannot
// recognise the tree the nodes came from and copies them instead of moving them.
class TLTClipboardContext {
public:
    // The registry starts with the tree's own formats.
    explicit TLTClipboardContext(IClipboard& clipboard);

    IClipboard& clipboard() const { return m_clipboard; }
    TClipboardFormatList& Formats() { return m_formats; }
    const TClipboardFormatList& Formats() const { return m_formats; }

    // Ids of live trees: never reused while the context lives.
    std::uint32_t registerTree(TBaseLazyTree* tree);
    void unregisterTree(std::uint32_t id);
    TBaseLazyTree* findTree(std::uint32_t id) const;
    // Tells references of this context from those of another one in the same process.
    std::uint64_t token() const { return m_token; }

private:
    IClipboard& m_clipboard;
    TClipboardFormatList m_formats;
    std::map<std::uint32_t, TBaseLazyTree*> m_trees;
    std::uint32_t m_nextId = 1;
    std::uint64_t m_token;
};

// A tree's data on the clipboard or in a drag. The formats are those the owner offers; their
// bytes are made by the owner when a receiver asks. An owner that has gone answers nothing.
class TLTDataObject : public QMimeData {
    Q_OBJECT
public:
    // formats: the MIME types the owner offers, in its order.
    TLTDataObject(std::shared_ptr<TLTClipboardContext> context, std::uint32_t ownerId,
                  bool forClipboard, QStringList formats);
    // For the clipboard: the clipboard's content was replaced, so the owner's pending cut or
    // copy ends (unless the owner is flushing the clipboard itself).
    ~TLTDataObject() override;

    bool hasFormat(const QString& mimeType) const override;
    QStringList formats() const override;
    // The owner's id, or 0 once it is gone.
    std::uint32_t ownerId() const { return m_ownerId; }
    void detachOwner() { m_ownerId = 0; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    TBaseLazyTree* owner() const;

    std::weak_ptr<TLTClipboardContext> m_context;
    std::uint32_t m_ownerId = 0;
    bool m_forClipboard = false;
    QStringList m_formats;
};

// The reference of a tree on the clipboard: process, context and tree, 16 bytes.
QByteArray lazyTreeReference(std::int64_t processId, std::uint64_t contextToken,
                             std::uint32_t treeId);
// The tree id of a reference made by this process and context; 0 otherwise.
std::uint32_t lazyTreeFromReference(const QByteArray& reference, std::int64_t processId,
                                    std::uint64_t contextToken);

}  // namespace zfw
