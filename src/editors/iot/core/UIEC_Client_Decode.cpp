#include "editors/iot/core/UIEC_Client_Decode.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QXmlStreamReader>

#include <optional>
#include <utility>

namespace zfw {

namespace {

// Owned lists free their items from the last to the first.
template <typename T>
void freeBackwards(std::vector<std::unique_ptr<T>>& list)
{
    while (!list.empty())
        list.pop_back();
}

// Depth first by name: an entry before what it holds, entries in list order.
template <typename T>
T* findNested(const std::vector<std::unique_ptr<T>>& list, const QString& name,
              T* (T::*findInside)(const QString&) const)
{
    for (const auto& d : list) {
        if (d->Name == name)
            return d.get();
        if (T* found = ((*d).*findInside)(name))
            return found;
    }
    return nullptr;
}

// Follows the first attribute down until it holds no more attributes.
TIEC_DA* firstLeafDA(const std::vector<std::unique_ptr<TIEC_DA>>& list)
{
    if (list.empty())
        return nullptr;
    TIEC_DA* first = list.front().get();
    return first->List_DA.empty() ? first : first->Find_First_DA();
}

// The file as a small tree of elements: local names, attributes, children in order.
// Comments, text and processing instructions are not kept; they never count as children.
struct SclNode {
    QString name;
    std::vector<std::pair<QString, QString>> attributes;
    std::vector<int> children;
};

struct SclTree {
    std::vector<SclNode> nodes;
    std::vector<int> topLevel;

    const SclNode& at(int i) const { return nodes[size_t(i)]; }
    std::optional<QString> attribute(int node, QStringView name) const
    {
        for (const auto& [n, v] : at(node).attributes)
            if (n == name)
                return v;
        return std::nullopt;
    }
    QString attributeOr(int node, QStringView name) const
    {
        return attribute(node, name).value_or(QString());
    }
    // First child of that name; -1 none.
    int firstChild(int node, QStringView name) const
    {
        for (int c : at(node).children)
            if (at(c).name == name)
                return c;
        return -1;
    }
};

// Reads the whole file into the tree. Element names are taken by local name, so a namespace
// prefix is tolerated. A document type declaration is refused: SCL needs none, and internal
// entities are the classic way to blow a small file up into gigabytes of text.
QString readTree(const QByteArray& bytes, const QString& name, const SclLimits& limits,
                 SclTree& tree)
{
    if (bytes.size() > limits.maxBytes)
        return QStringLiteral("%1: the file is larger than %2 bytes and is not read")
            .arg(name)
            .arg(limits.maxBytes);
    QXmlStreamReader r(bytes);
    std::vector<int> open;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::DTD:
            return QStringLiteral("%1: line %2: a document type declaration is not accepted")
                .arg(name)
                .arg(r.lineNumber());
        case QXmlStreamReader::EntityReference:
            return QStringLiteral("%1: line %2: an entity reference is not accepted")
                .arg(name)
                .arg(r.lineNumber());
        case QXmlStreamReader::StartElement: {
            if (int(open.size()) >= limits.maxDepth)
                return QStringLiteral("%1: line %2: elements are nested deeper than %3 levels")
                    .arg(name)
                    .arg(r.lineNumber())
                    .arg(limits.maxDepth);
            SclNode n;
            n.name = r.name().toString();
            const QXmlStreamAttributes attrs = r.attributes();
            n.attributes.reserve(size_t(attrs.size()));
            for (const QXmlStreamAttribute& a : attrs)
                n.attributes.emplace_back(a.qualifiedName().toString(), a.value().toString());
            const int id = int(tree.nodes.size());
            tree.nodes.push_back(std::move(n));
            if (open.empty())
                tree.topLevel.push_back(id);
            else
                tree.nodes[size_t(open.back())].children.push_back(id);
            open.push_back(id);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.empty())
                open.pop_back();
            break;
        default: break;
        }
    }
    if (r.hasError())
        return QStringLiteral("%1: not well-formed XML at line %2, column %3: %4")
            .arg(name)
            .arg(r.lineNumber())
            .arg(r.columnNumber())
            .arg(r.errorString());
    return {};
}

enum TemplateKind { LNodeType, DOType, DAType, TemplateKinds };

class SclDecoder {
public:
    SclDecoder(const SclTree& tree, int dtt, const SclLimits& limits)
        : m_tree(tree), m_limits(limits), m_onPath(tree.nodes.size(), false)
    {
        // The index gives, for every kind and id, the templates a scan of the templates
        // element in file order would expand: every one of that kind and id, duplicates
        // included, never one without an "id".
        static const QString kinds[TemplateKinds] = {QStringLiteral("LNodeType"),
                                                     QStringLiteral("DOType"),
                                                     QStringLiteral("DAType")};
        for (int c : tree.at(dtt).children)
            for (int k = 0; k < TemplateKinds; ++k)
                if (tree.at(c).name == kinds[k])
                    if (const auto id = tree.attribute(c, u"id"))
                        m_index[k][*id].push_back(c);
    }

    bool cut() const { return m_cut; }

    void firstPass(TIEC_Device& device, int server)
    {
        for (int ld : m_tree.at(server).children) {
            if (m_tree.at(ld).name != u"LDevice" || !take())
                continue;
            auto l = std::make_unique<TIEC_LDevice>();
            decodeLDevice(*l, ld, device.Name);
            device.List_LDevice.push_back(std::move(l));
        }
    }

    void secondPass(TIEC_Device& device, int server)
    {
        size_t k = 0;
        for (int ld : m_tree.at(server).children) {
            if (m_tree.at(ld).name != u"LDevice")
                continue;
            if (k < device.List_LDevice.size())
                decodeLDeviceDataSets(*device.List_LDevice[k], ld, device.Name, device);
            ++k;
        }
    }

private:
    static bool isLN(const QString& name) { return name == u"LN0" || name == u"LN"; }

    // Counts one more model object; false once the bound is reached.
    bool take()
    {
        if (m_objects >= m_limits.maxObjects) {
            m_cut = true;
            return false;
        }
        ++m_objects;
        return true;
    }

    // Calls f for each child of every template of the kind and id, in file order. A template
    // already being expanded on the current path is not expanded again: templates that name
    // themselves, directly or through others, would otherwise recurse without end.
    template <typename F>
    void expand(TemplateKind kind, const QString& id, F&& f)
    {
        const auto it = m_index[kind].constFind(id);
        if (it == m_index[kind].cend())
            return;
        for (int t : *it) {
            if (m_onPath[size_t(t)])
                continue;
            m_onPath[size_t(t)] = true;
            for (int c : m_tree.at(t).children)
                f(c);
            m_onPath[size_t(t)] = false;
        }
    }

    void decodeLDevice(TIEC_LDevice& ld, int node, const QString& R)
    {
        if (const auto v = m_tree.attribute(node, u"inst"))
            ld.Name = *v;
        const QString L = R + ld.Name;
        for (int c : m_tree.at(node).children) {
            if (!isLN(m_tree.at(c).name) || !take())
                continue;
            auto ln = std::make_unique<TIEC_LN>();
            decodeLN(*ln, c, L);
            ld.List_LN.push_back(std::move(ln));
        }
    }

    void decodeLN(TIEC_LN& ln, int node, const QString& L)
    {
        ln.lnClass = m_tree.attributeOr(node, u"lnClass");
        ln.lnType = m_tree.attributeOr(node, u"lnType");
        ln.Prefix = m_tree.attributeOr(node, u"prefix");
        ln.Inst = m_tree.attributeOr(node, u"inst");
        const QString N = L + u'/' + ln.Prefix + ln.lnClass + ln.Inst;
        if (ln.lnType.isEmpty())
            return;
        expand(LNodeType, ln.lnType, [&](int c) {
            if (m_tree.at(c).name != u"DO" || !take())
                return;
            auto d = std::make_unique<TIEC_DO>();
            decodeDO(*d, c, N, 0);
            ln.List_DO.push_back(std::move(d));
        });
    }

    void decodeDO(TIEC_DO& obj, int node, const QString& P, int depth)
    {
        obj.Name = m_tree.attributeOr(node, u"name");
        const QString D = P + u'.' + obj.Name;
        const QString type = m_tree.attributeOr(node, u"type");
        if (type.isEmpty())
            return;
        if (depth >= m_limits.maxTemplateDepth) {
            m_cut = true;
            return;
        }
        expand(DOType, type, [&](int c) {
            const QString& n = m_tree.at(c).name;
            if (n == u"SDO") {
                if (!take())
                    return;
                auto sdo = std::make_unique<TIEC_DO>();
                decodeDO(*sdo, c, D, depth + 1);
                obj.List_DO.push_back(std::move(sdo));
            } else if (n == u"DA") {
                if (!take())
                    return;
                auto da = std::make_unique<TIEC_DA>();
                decodeDA(*da, c, D, QString(), depth + 1);
                obj.List_DA.push_back(std::move(da));
            }
        });
    }

    void decodeDA(TIEC_DA& da, int node, const QString& P, const QString& F, int depth)
    {
        da.Name = m_tree.attributeOr(node, u"name");
        da.Reference = P + u'.' + da.Name;
        da.bType = m_tree.attributeOr(node, u"bType");
        da.FC = m_tree.attribute(node, u"fc").value_or(F);
        const auto type = m_tree.attribute(node, u"type");
        // An enumeration's type names an enumeration template, which holds no attributes.
        if (!type || da.bType == u"Enum")
            return;
        if (depth >= m_limits.maxTemplateDepth) {
            m_cut = true;
            return;
        }
        expand(DAType, *type, [&](int c) {
            if (m_tree.at(c).name != u"BDA" || !take())
                return;
            auto bda = std::make_unique<TIEC_DA>();
            decodeDA(*bda, c, da.Reference, da.FC, depth + 1);
            da.List_DA.push_back(std::move(bda));
        });
    }

    void decodeLDeviceDataSets(TIEC_LDevice& ld, int node, const QString& R,
                               const TIEC_Device& device)
    {
        const QString L = R + ld.Name;
        size_t j = 0;
        for (int c : m_tree.at(node).children) {
            if (!isLN(m_tree.at(c).name))
                continue;
            if (j < ld.List_LN.size())
                decodeLNDataSets(*ld.List_LN[j], c, L, device);
            ++j;
        }
    }

    void decodeLNDataSets(TIEC_LN& ln, int node, const QString& L, const TIEC_Device& device)
    {
        ln.lnClass = m_tree.attributeOr(node, u"lnClass");
        // The data-set reference holds the class alone, without prefix and instance: the
        // gateway reads the references in this form.
        const QString S = L + u'/' + ln.lnClass;
        if (m_tree.attributeOr(node, u"lnType").isEmpty())
            return;
        for (int c : m_tree.at(node).children) {
            if (m_tree.at(c).name != u"DataSet" || !take())
                continue;
            auto ds = std::make_unique<TIEC_DataSet>();
            decodeDataSet(*ds, c, S, device);
            ln.List_DataSet.push_back(std::move(ds));
        }
        // All data sets exist before the first control is read, so a control may stand
        // before the data set it names.
        for (int c : m_tree.at(node).children) {
            if (m_tree.at(c).name != u"GSEControl")
                continue;
            const QString G = m_tree.attributeOr(c, u"name");
            const QString T = m_tree.attributeOr(c, u"datSet");
            if (G.isEmpty() || T.isEmpty())
                continue;
            for (const auto& ds : ln.List_DataSet)
                if (ds->Name == T) {
                    ds->GooseName = G;
                    break;
                }
        }
    }

    void decodeDataSet(TIEC_DataSet& ds, int node, const QString& S, const TIEC_Device& device)
    {
        ds.Name = m_tree.attributeOr(node, u"name");
        ds.Reference = S + u'.' + ds.Name;
        for (int c : m_tree.at(node).children) {
            if (m_tree.at(c).name != u"FCDA")
                continue;
            const QString ldInst = m_tree.attributeOr(c, u"ldInst");
            const QString lnClass = m_tree.attributeOr(c, u"lnClass");
            const QString doName = m_tree.attributeOr(c, u"doName");
            const QString daName = m_tree.attributeOr(c, u"daName");
            // Prefix, instance and fc of the FCDA are not read: the first logical node of
            // the class answers, as the gateway resolves it.
            if (ldInst.isEmpty() || lnClass.isEmpty() || doName.isEmpty())
                continue;
            const TIEC_LDevice* ld = device.Find_LDevice(ldInst);
            const TIEC_LN* ln = ld ? ld->Find_LN(lnClass) : nullptr;
            const TIEC_DO* d = ln ? ln->Find_DO(doName) : nullptr;
            if (!d)
                continue;
            TIEC_DA* da = daName.isEmpty() ? d->Find_First_DA() : d->Find_DA(daName);
            if (da)
                ds.List_DA.push_back(da);
        }
    }

    const SclTree& m_tree;
    const SclLimits& m_limits;
    QHash<QString, std::vector<int>> m_index[TemplateKinds];
    std::vector<bool> m_onPath;
    qint64 m_objects = 0;
    bool m_cut = false;
};

void decodeTree(const SclTree& tree, TIEC_Device& device, const SclLimits& limits,
                SclDecodeResult& result)
{
    int scl = -1;
    for (int t : tree.topLevel)
        if (tree.at(t).name == u"SCL") {
            scl = t;
            break;
        }
    if (scl < 0)
        return;
    const int ied = tree.firstChild(scl, u"IED");
    const int dtt = tree.firstChild(scl, u"DataTypeTemplates");
    if (ied < 0 || dtt < 0)
        return;
    device.Name = tree.attributeOr(ied, u"name");
    const int ap = tree.firstChild(ied, u"AccessPoint");
    if (ap < 0)
        return;
    const int server = tree.firstChild(ap, u"Server");
    if (server < 0)
        return;
    SclDecoder decoder(tree, dtt, limits);
    decoder.firstPass(device, server);
    decoder.secondPass(device, server);
    if (decoder.cut())
        result.warning = QStringLiteral(
                             "%1: the model is too large or too deeply nested; only part of it "
                             "is shown")
                             .arg(device.FileName);
}

void listDA(const TIEC_DA& da, QString& out)
{
    out += QStringLiteral("DA %1 fc=%2 bType=%3\n").arg(da.Reference, da.FC, da.bType);
    for (const auto& b : da.List_DA)
        listDA(*b, out);
}

void listDO(const TIEC_DO& d, QString& out)
{
    for (const auto& s : d.List_DO)
        listDO(*s, out);
    for (const auto& a : d.List_DA)
        listDA(*a, out);
}

}  // namespace

TIEC_DA::~TIEC_DA() { freeBackwards(List_DA); }

TIEC_DA* TIEC_DA::Find_DA(const QString& DA_Name) const
{
    return findNested(List_DA, DA_Name, &TIEC_DA::Find_DA);
}

TIEC_DA* TIEC_DA::Find_First_DA() const { return firstLeafDA(List_DA); }

TIEC_DO::~TIEC_DO()
{
    freeBackwards(List_DA);
    freeBackwards(List_DO);
}

TIEC_DO* TIEC_DO::Find_DO(const QString& DO_Name) const
{
    return findNested(List_DO, DO_Name, &TIEC_DO::Find_DO);
}

TIEC_DA* TIEC_DO::Find_DA(const QString& DA_Name) const
{
    return findNested(List_DA, DA_Name, &TIEC_DA::Find_DA);
}

TIEC_DA* TIEC_DO::Find_First_DA() const { return firstLeafDA(List_DA); }

TIEC_LN::~TIEC_LN()
{
    // Data objects first: the data sets only refer to their attributes.
    freeBackwards(List_DO);
    freeBackwards(List_DataSet);
}

TIEC_DO* TIEC_LN::Find_DO(const QString& DO_Name) const
{
    return findNested(List_DO, DO_Name, &TIEC_DO::Find_DO);
}

TIEC_LDevice::~TIEC_LDevice() { freeBackwards(List_LN); }

TIEC_LN* TIEC_LDevice::Find_LN(const QString& LN_Class) const
{
    for (const auto& ln : List_LN)
        if (ln->lnClass == LN_Class)
            return ln.get();
    return nullptr;
}

TIEC_Device::~TIEC_Device() { freeBackwards(List_LDevice); }

TIEC_LDevice* TIEC_Device::Find_LDevice(const QString& LD_Name) const
{
    for (const auto& ld : List_LDevice)
        if (ld->Name == LD_Name)
            return ld.get();
    return nullptr;
}

SclDecodeResult decodeSclBytes(const QByteArray& bytes, const QString& name,
                               const SclLimits& limits)
{
    SclDecodeResult result;
    SclTree tree;
    result.error = readTree(bytes, name, limits, tree);
    if (!result.error.isEmpty())
        return result;
    auto device = std::make_unique<TIEC_Device>();
    device->FileName = name;
    decodeTree(tree, *device, limits, result);
    result.device = std::move(device);
    return result;
}

SclDecodeResult decodeSclFile(const QString& path, const SclLimits& limits)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!info.isFile()) {
        SclDecodeResult result;
        result.device = std::make_unique<TIEC_Device>();
        result.device->FileName = name;
        return result;
    }
    if (info.size() > limits.maxBytes) {
        SclDecodeResult result;
        result.error = QStringLiteral("%1: the file is larger than %2 bytes and is not read")
                           .arg(name)
                           .arg(limits.maxBytes);
        return result;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        SclDecodeResult result;
        result.error = QStringLiteral("%1: the file cannot be read: %2").arg(name, f.errorString());
        return result;
    }
    return decodeSclBytes(f.readAll(), name, limits);
}

QString sclReferenceList(const TIEC_Device& device)
{
    QString out = QStringLiteral("IED %1 file=%2\n").arg(device.Name, device.FileName);
    for (const auto& ld : device.List_LDevice)
        for (const auto& ln : ld->List_LN) {
            for (const auto& d : ln->List_DO)
                listDO(*d, out);
            for (const auto& ds : ln->List_DataSet) {
                out += QStringLiteral("DS %1 goose=%2\n").arg(ds->Reference, ds->GooseName);
                for (const TIEC_DA* m : ds->List_DA)
                    out += QStringLiteral("  %1\n").arg(m->Reference);
            }
        }
    return out;
}

}  // namespace zfw
