// The clipboard side of the tree: the format registry, the data object rendering on demand,
// and copy, cut, paste and flush with the routine that inserts received nodes.

#include "tree/LazyTreesClipboard.h"

#include "platform/Clipboard.h"
#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesString.h"
#include "tree/core/LazyTreesGuard.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>
#include <array>

namespace zfw {

namespace {

// The names the predefined formats 1 to 17 are registered under.
const std::array<const char*, 17> kStandardNames{"Plain text",
                                                 "Windows bitmap",
                                                 "Windows metafile",
                                                 "Symbolic link",
                                                 "Data interchange format",
                                                 "Tiff image",
                                                 "OEM text",
                                                 "DIB image",
                                                 "Palette data",
                                                 "Pen data",
                                                 "Riff audio data",
                                                 "Wav audio data",
                                                 "Unicode text",
                                                 "Enhanced metafile image",
                                                 "File name(s)",
                                                 "Locale descriptor",
                                                 "DIB image V5"};

// Where a predefined format travels on this platform: both text formats are plain text.
QString standardMimeType(int id)
{
    switch (id) {
    case 1:
    case 7:
    case 13: return QStringLiteral("text/plain");
    default: return clipboardMimeType(TClipboardFormatList::standardFormatName(id));
    }
}

bool lessIgnoringCase(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace

// ----- registry ----------------------------------------------------------------------------

void TClipboardFormatList::Add(const QString& description, const QString& mimeType,
                               TLazyTreeClass treeClass, std::uint32_t priority)
{
    m_entries.push_back({description, mimeType, std::move(treeClass), priority});
    std::stable_sort(m_entries.begin(), m_entries.end(),
                     [](const auto& a, const auto& b) { return a.Priority < b.Priority; });
}

std::vector<const TClipboardFormatListEntry*> TClipboardFormatList::EnumerateFormats(
    const TBaseLazyTree& tree, const QStringList* allowedFormats) const
{
    std::vector<const TClipboardFormatListEntry*> out;
    for (const auto& e : m_entries) {
        if (!e.TreeClass || !e.TreeClass(tree))
            continue;
        if (allowedFormats && !allowedFormats->contains(e.Description, Qt::CaseInsensitive))
            continue;
        out.push_back(&e);
    }
    return out;
}

QStringList TClipboardFormatList::EnumerateFormatNames(const TBaseLazyTree& tree) const
{
    QStringList out;
    for (const auto* e : EnumerateFormats(tree, nullptr))
        out << e->Description;
    return out;
}

const TClipboardFormatListEntry* TClipboardFormatList::FindFormat(const QString& description) const
{
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
        if (QString::compare(it->Description, description, Qt::CaseInsensitive) == 0)
            return &*it;
    return nullptr;
}

QString TClipboardFormatList::standardFormatName(int id)
{
    if (id < 1 || id > int(kStandardNames.size()))
        return {};
    return QString::fromLatin1(kStandardNames[std::size_t(id - 1)]);
}

bool TClipboardFormatList::RegisterLTClipboardFormat(int id, TLazyTreeClass treeClass,
                                                     std::uint32_t priority)
{
    // Numbers above the predefined ones name formats registered with a system clipboard
    // that this platform does not have.
    const QString name = standardFormatName(id);
    if (name.isEmpty())
        return false;
    Add(name, standardMimeType(id), std::move(treeClass), priority);
    return true;
}

// ----- context -----------------------------------------------------------------------------

TLTClipboardContext::TLTClipboardContext(IClipboard& clipboard)
    : m_clipboard(clipboard), m_token(QRandomGenerator::system()->generate64())
{
    m_formats.Add(QStringLiteral("Lazy Tree Data"), kLazyTreeDataMime,
                  lazyTreeClass<TBaseLazyTree>(), 50);
    // The string tree's text formats, rendered by its exports when a receiver asks.
    const TLazyTreeClass strings = lazyTreeClass<TCustomLazyStringTree>();
    m_formats.Add(QStringLiteral("HTML Format"), QStringLiteral("text/html"), strings, 80);
    m_formats.Add(QStringLiteral("Rich Text Format Without Objects"), QStringLiteral("text/rtf"),
                  strings, 84);
    m_formats.Add(QStringLiteral("Rich Text Format"), QStringLiteral("text/rtf"), strings, 85);
    m_formats.Add(QStringLiteral("CSV"), QStringLiteral("text/csv"), strings, 90);
    m_formats.RegisterLTClipboardFormat(13, strings, 95);
    m_formats.RegisterLTClipboardFormat(1, strings, 100);
}

std::uint32_t TLTClipboardContext::registerTree(TBaseLazyTree* tree)
{
    const std::uint32_t id = m_nextId++;
    m_trees[id] = tree;
    return id;
}

void TLTClipboardContext::unregisterTree(std::uint32_t id) { m_trees.erase(id); }

TBaseLazyTree* TLTClipboardContext::findTree(std::uint32_t id) const
{
    auto it = m_trees.find(id);
    return it == m_trees.end() ? nullptr : it->second;
}

QByteArray lazyTreeReference(std::int64_t processId, std::uint64_t contextToken,
                             std::uint32_t treeId)
{
    QByteArray out(16, '\0');
    qToLittleEndian(std::uint32_t(processId), out.data());
    qToLittleEndian(contextToken, out.data() + 4);
    qToLittleEndian(treeId, out.data() + 12);
    return out;
}

std::uint32_t lazyTreeFromReference(const QByteArray& reference, std::int64_t processId,
                                    std::uint64_t contextToken)
{
    if (reference.size() != 16)
        return 0;
    if (qFromLittleEndian<std::uint32_t>(reference.constData()) != std::uint32_t(processId)
        || qFromLittleEndian<std::uint64_t>(reference.constData() + 4) != contextToken)
        return 0;
    return qFromLittleEndian<std::uint32_t>(reference.constData() + 12);
}

// ----- data object -------------------------------------------------------------------------

TLTDataObject::TLTDataObject(std::shared_ptr<TLTClipboardContext> context, std::uint32_t ownerId,
                             bool forClipboard, QStringList formats)
    : m_context(context), m_ownerId(ownerId), m_forClipboard(forClipboard),
      m_formats(std::move(formats))
{
    m_formats.removeDuplicates();
}

TLTDataObject::~TLTDataObject()
{
    if (!m_forClipboard)
        return;
    TBaseLazyTree* tree = owner();
    if (tree && !tree->TreeStates().contains(tsClipboardFlushing))
        tree->CancelCutOrCopy();
}

TBaseLazyTree* TLTDataObject::owner() const
{
    auto context = m_context.lock();
    return context && m_ownerId ? context->findTree(m_ownerId) : nullptr;
}

QStringList TLTDataObject::formats() const
{
    QStringList out = m_formats;
    for (const QString& f : QMimeData::formats())
        if (!out.contains(f))
            out << f;
    out << kLazyTreeReferenceMime;
    return out;
}

bool TLTDataObject::hasFormat(const QString& mimeType) const
{
    return formats().contains(mimeType);
}

QVariant TLTDataObject::retrieveData(const QString& mimeType, QMetaType type) const
{
    TBaseLazyTree* tree = owner();
    if (mimeType == kLazyTreeReferenceMime) {
        // A flushed clipboard must never point into a tree, or a process, that may be gone.
        auto context = m_context.lock();
        if (!tree || tree->TreeStates().contains(tsClipboardFlushing))
            return {};
        return lazyTreeReference(QCoreApplication::applicationPid(), context->token(), m_ownerId);
    }
    if (QMimeData::formats().contains(mimeType))
        return QMimeData::retrieveData(mimeType, type);
    if (!tree || !m_formats.contains(mimeType))
        return {};
    try {
        const QByteArray data = tree->RenderOLEData(mimeType, m_forClipboard);
        if (data.isEmpty())
            return {};
        return data;
    } catch (...) {
        return {};
    }
}

// ----- the tree's operations ---------------------------------------------------------------

void TBaseLazyTree::SetClipboardContext(std::shared_ptr<TLTClipboardContext> context)
{
    if (context == FClipboardContext)
        return;
    CancelCutOrCopy();
    if (FClipboardContext && FClipboardId)
        FClipboardContext->unregisterTree(FClipboardId);
    FClipboardId = 0;
    FClipboardContext = std::move(context);
}

TLTClipboardContext& TBaseLazyTree::clipboardContext()
{
    if (!FClipboardContext)
        FClipboardContext = std::make_shared<TLTClipboardContext>(systemClipboard());
    return *FClipboardContext;
}

std::uint32_t TBaseLazyTree::clipboardId()
{
    if (!FClipboardId)
        FClipboardId = clipboardContext().registerTree(this);
    return FClipboardId;
}

void TBaseLazyTree::releaseClipboard()
{
    if (!FClipboardContext)
        return;
    // A pending copy keeps its data: the clipboard gets it rendered in full before the tree
    // goes, and the data object no longer knows the tree.
    try {
        FlushClipboard();
    } catch (...) {
    }
    if (FClipboardId)
        FClipboardContext->unregisterTree(FClipboardId);
    FClipboardId = 0;
}

int TBaseLazyTree::AddClipboardFormat(const QString& format)
{
    const TClipboardFormatListEntry* entry = clipboardContext().Formats().FindFormat(format);
    if (!entry || !entry->TreeClass || !entry->TreeClass(*this))
        return -1;
    auto it = std::lower_bound(FClipboardFormats.begin(), FClipboardFormats.end(), format,
                               lessIgnoringCase);
    const int index = int(it - FClipboardFormats.begin());
    if (it != FClipboardFormats.end() && QString::compare(*it, format, Qt::CaseInsensitive) == 0)
        return index;
    FClipboardFormats.insert(index, format);
    return index;
}

void TBaseLazyTree::SetClipboardFormats(const QStringList& formats)
{
    FClipboardFormats.clear();
    for (const QString& f : formats)
        AddClipboardFormat(f);
}

QStringList TBaseLazyTree::EnumerateClipboardFormats()
{
    QStringList out;
    for (const auto* e : clipboardContext().Formats().EnumerateFormats(*this, &FClipboardFormats))
        if (!out.contains(e->MimeType))
            out << e->MimeType;
    if (OnGetUserClipboardFormats)
        OnGetUserClipboardFormats(*this, out);
    return out;
}

QByteArray TBaseLazyTree::RenderOLEData(const QString& mimeType, bool forClipboard)
{
    if (mimeType == kLazyTreeDataMime) {
        QBuffer buffer;
        buffer.open(QIODevice::ReadWrite);
        buffer.write(QByteArray(4, '\0'));
        for (PLazyNode node : forClipboard ? GetSortedCutCopySet(true) : GetSortedSelection(true))
            WriteNode(buffer, node);
        QByteArray data = buffer.data();
        if (data.size() == 4)
            return {};
        qToLittleEndian(std::uint32_t(data.size() - 4), data.data());
        return data;
    }
    QByteArray data;
    bool handled = false;
    if (OnRenderOLEData)
        OnRenderOLEData(*this, mimeType, forClipboard, data, handled);
    return handled ? data : QByteArray();
}

std::uint32_t TBaseLazyTree::CutCopyCount()
{
    std::uint32_t count = 0;
    for (PLazyNode n = GetFirstCutCopy(); n; n = GetNextCutCopy(n))
        ++count;
    return count;
}

void TBaseLazyTree::CopyToClipboard()
{
    if (SelectedCount() == 0)
        return;
    auto& context = clipboardContext();
    const TNodeArray nodes = GetSortedSelection(false);
    CancelCutOrCopy();
    context.clipboard().setMimeData(std::make_unique<TLTDataObject>(FClipboardContext,
                                                                    clipboardId(), true,
                                                                    EnumerateClipboardFormats()));
    for (PLazyNode n : nodes)
        if (!n->has(vsDisabled))
            n->States.include(vsCutOrCopy);
    DoStateChange({tsCopyPending}, {tsCutPending});
    Invalidate();
}

void TBaseLazyTree::CutToClipboard()
{
    if (SelectedCount() == 0 || options().MiscOptions.contains(toReadOnly))
        return;
    CopyToClipboard();
    if (TreeStates().contains(tsCopyPending))
        DoStateChange({tsCutPending}, {tsCopyPending});
}

void TBaseLazyTree::CancelCutOrCopy()
{
    if (!TreeStates().contains(tsCutPending) && !TreeStates().contains(tsCopyPending))
        return;
    for (PLazyNode n = GetFirstCutCopy(); n;) {
        PLazyNode next = GetNextCutCopy(n);
        n->States.exclude(vsCutOrCopy);
        n = next;
    }
    DoStateChange({}, {tsCutPending, tsCopyPending});
    Invalidate();
}

void TBaseLazyTree::FinishCutOrCopy()
{
    if (TreeStates().contains(tsCutPending)) {
        // Resolved and sorted, so no node is visited after its ancestor was deleted.
        const TNodeArray nodes = GetSortedCutCopySet(true);
        BeginUpdate();
        ScopeGuard endUpdate([this] { EndUpdate(); });
        for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
            DeleteNode(*it);
    }
    DoStateChange({}, {tsCutPending});
}

void TBaseLazyTree::FlushClipboard()
{
    if (!TreeStates().contains(tsCutPending) && !TreeStates().contains(tsCopyPending))
        return;
    auto& clipboard = clipboardContext().clipboard();
    DoStateChange({tsClipboardFlushing});
    ScopeGuard leave([this] { DoStateChange({}, {tsClipboardFlushing}); });
    // Every format is rendered now into data that needs the tree no more.
    if (const QMimeData* current = clipboard.mimeData();
        current && qobject_cast<const TLTDataObject*>(current)
        && static_cast<const TLTDataObject*>(current)->ownerId() == FClipboardId) {
        auto plain = std::make_unique<QMimeData>();
        for (const QString& f : current->formats()) {
            const QByteArray data = current->data(f);
            if (!data.isEmpty())
                plain->setData(f, data);
        }
        clipboard.setMimeData(std::move(plain));
    }
    CancelCutOrCopy();
}

TBaseLazyTree* TBaseLazyTree::GetTreeFromDataObject(const QMimeData& data)
{
    if (!data.hasFormat(kLazyTreeReferenceMime))
        return nullptr;
    auto& context = clipboardContext();
    const std::uint32_t id = lazyTreeFromReference(data.data(kLazyTreeReferenceMime),
                                                   QCoreApplication::applicationPid(),
                                                   context.token());
    return id ? context.findTree(id) : nullptr;
}

bool TBaseLazyTree::ProcessOLEData(TBaseLazyTree* source, const QMimeData& data,
                                   PLazyNode targetNode, TLTNodeAttachMode mode, bool optimized)
{
    bool result = data.hasFormat(kLazyTreeDataMime);
    if (!result || options().MiscOptions.contains(toReadOnly))
        return result;
    BeginUpdate();
    ScopeGuard endUpdate([this] { EndUpdate(); });
    result = false;
    if (!targetNode || targetNode == RootNode()) {
        targetNode = RootNode();
        if (mode == amInsertBefore)
            mode = amAddChildFirst;
        else if (mode == amInsertAfter)
            mode = amAddChildLast;
    }
    if (optimized && source) {
        const TNodeArray nodes = source->TreeStates().contains(tsOLEDragging)
                                     ? source->GetSortedSelection(true)
                                     : source->GetSortedCutCopySet(true);
        auto moveOne = [&](PLazyNode n) {
            if (targetNode != n && !source->HasAsParent(targetNode, n))
                source->MoveTo(n, targetNode, mode, false);
        };
        if (mode == amInsertBefore || mode == amAddChildLast)
            std::for_each(nodes.begin(), nodes.end(), moveOne);
        else
            std::for_each(nodes.rbegin(), nodes.rend(), moveOne);
        return true;
    }
    const QByteArray bytes = data.data(kLazyTreeDataMime);
    // The byte count in front must agree with what arrived, or the data are not ours.
    if (bytes.size() < 4
        || qFromLittleEndian<std::uint32_t>(bytes.constData()) != std::uint32_t(bytes.size() - 4))
        throw ELazyTreeError("Stream data corrupt. The node data are incomplete.", 2006);
    QBuffer stream;
    stream.setData(bytes.mid(4));
    stream.open(QIODevice::ReadOnly);
    const TChangeReason reason = source == this ? crNodeCopied : crNodeAdded;
    while (stream.pos() < stream.size()) {
        PLazyNode node = AddNodeFromStream(stream, 2, targetNode, mode);
        if (DoNodeCopying(node, targetNode == RootNode() ? nullptr : targetNode)) {
            DoNodeCopied(node);
            StructureChange(node, reason);
            if (mode == amInsertAfter)
                targetNode = node;
        } else {
            DeleteNode(node);
        }
    }
    return true;
}

bool TBaseLazyTree::PasteFromClipboard()
{
    if (options().MiscOptions.contains(toReadOnly))
        return false;
    const QMimeData* data = clipboardContext().clipboard().mimeData();
    if (!data)
        return false;
    TBaseLazyTree* source = GetTreeFromDataObject(*data);
    const bool optimized = source && source->TreeStates().contains(tsCutPending);
    const bool result = ProcessOLEData(source, *data, FocusedNode(), DefaultPasteMode(), optimized);
    if (source) {
        if (source == this)
            DoStateChange({}, {tsCutPending});
        else
            source->FinishCutOrCopy();
    }
    return result;
}

bool TBaseLazyTree::ExecuteAction(TLTEditAction action)
{
    const bool readOnly = options().MiscOptions.contains(toReadOnly);
    switch (action) {
    case eaSelectAll: SelectAll(false); return true;
    case eaCopy: CopyToClipboard(); return true;
    case eaCut:
        if (readOnly)
            return false;
        CutToClipboard();
        return true;
    case eaPaste:
        if (readOnly)
            return false;
        PasteFromClipboard();
        return true;
    case eaDelete:
        if (readOnly)
            return false;
        DeleteSelectedNodes();
        return true;
    }
    return false;
}

}  // namespace zfw
