#include "common/ProjectXml.h"

#include "common/TextUtil.h"
#include "common/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace zfw {

QString displayPath(const QString& path) { return QDir::toNativeSeparators(path); }

namespace {

}  // namespace

namespace detail {

// A loaded file as flat arrays: elements in document order, each naming its first child and
// next sibling by index, so neither building nor freeing the tree recurses. Names, values and
// texts stand one after the other in one string, so loading allocates per file, not per value.
struct XmlTree : std::enable_shared_from_this<XmlTree> {
    struct Span {
        qsizetype begin = 0;
        qsizetype size = 0;
    };
    struct Attribute {
        qsizetype valueBegin = 0;
        int valueSize = 0;
        int name = 0;  // index into names
    };
    struct Node {
        Span name;
        qsizetype firstChild = -1;
        qsizetype nextSibling = -1;
        qsizetype attrBegin = 0;
        qsizetype attrEnd = 0;
        qsizetype textBegin = 0;  // the texts inside the element, descendants' included
        qsizetype textEnd = 0;
    };
    QString pool;
    std::vector<Span> names;  // attribute names, each once: rows repeat the same few
    std::vector<Node> nodes;
    std::vector<Attribute> attributes;
    std::vector<Span> texts;

    Span add(QStringView s)
    {
        const Span span{pool.size(), s.size()};
        pool.append(s);
        return span;
    }
    QStringView view(Span s) const { return QStringView(pool).mid(s.begin, s.size); }
    QStringView nameOf(const Attribute& a) const { return view(names[std::size_t(a.name)]); }
    QStringView valueOf(const Attribute& a) const
    {
        return QStringView(pool).mid(a.valueBegin, a.valueSize);
    }

    XmlElement element(qsizetype index) const
    {
        if (index < 0)
            return {};
        return XmlElement(shared_from_this(), index);
    }
};

}  // namespace detail

namespace {

// No file the program writes has a document type declaration. One lets a file declare
// default attributes, which bypass the attribute limit and cost the parser time with every
// element, and entities that a short file can expand into hundreds of megabytes.
constexpr const char* kDoctypeRefused = "a document type declaration is not accepted";

struct ParseError {
    QString what;
    qint64 line = 0;
    qint64 column = 0;
};

// True when bytes are well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF), the same judgement as the decoder's.
bool isUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        int more = 0;
        unsigned lo = 0x80, hi = 0xBF;  // bounds of the second byte
        if (*p >= 0xC2 && *p <= 0xDF) {
            more = 1;
        } else if (*p >= 0xE0 && *p <= 0xEF) {
            more = 2;
            if (*p == 0xE0)
                lo = 0xA0;
            else if (*p == 0xED)
                hi = 0x9F;
        } else if (*p >= 0xF0 && *p <= 0xF4) {
            more = 3;
            if (*p == 0xF0)
                lo = 0x90;
            else if (*p == 0xF4)
                hi = 0x8F;
        } else {
            return false;
        }
        if (end - p <= more || p[1] < lo || p[1] > hi)
            return false;
        for (int k = 2; k <= more; ++k)
            if (p[k] < 0x80 || p[k] > 0xBF)
                return false;
        p += more + 1;
    }
    return true;
}

// True when the XML declaration names an encoding other than UTF-8. The parser would follow
// that declaration; the convention reads valid UTF-8 as UTF-8 whatever is declared.
bool declaresOtherEncoding(const QByteArray& bytes)
{
    const qsizetype start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (bytes.indexOf("<?xml") != start)
        return false;
    const qsizetype end = bytes.indexOf("?>", start);
    const QByteArray decl = bytes.mid(start, end < 0 ? -1 : end - start);
    const qsizetype at = decl.indexOf("encoding");
    if (at < 0)
        return false;
    qsizetype open = at;
    while (open < decl.size() && decl[open] != '"' && decl[open] != '\'')
        ++open;
    if (open >= decl.size())
        return true;
    const qsizetype close = decl.indexOf(decl[open], open + 1);
    const QByteArray name = decl.mid(open + 1, close < 0 ? -1 : close - open - 1).toUpper();
    return name != "UTF-8" && name != "UTF8";
}

template <typename CharT>
using TextView = std::basic_string_view<CharT>;

// Line (from 1) and column (from 1, in characters) of a position in text.
template <typename CharT>
void lineAndColumn(TextView<CharT> text, std::size_t pos, qint64* line, qint64* column)
{
    *line = 1;
    qint64 col = 1;
    for (std::size_t i = 0; i < pos && i < text.size(); ++i) {
        if (text[i] == CharT('\n')) {
            ++*line;
            col = 1;
        } else if (sizeof(CharT) > 1 || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            // UTF-8 continuation bytes belong to the character before them.
            ++col;
        }
    }
    *column = col;
}

struct MarkupCount {
    qsizetype overfullTag = -1;  // position of the first start tag over the limit, or -1
    qsizetype doctype = -1;      // position of a document type declaration, or -1
    qsizetype startTags = 0;
    qsizetype attributes = 0;
};

// Finds the first start tag with more than limit attributes, counting "=" outside quotes,
// or a document type declaration, whichever comes first, and counts start tags and
// attributes so that the tree is allocated once. One pass over the text; comments, CDATA
// sections, processing instructions and other declarations are skipped. What it cannot make
// sense of is left to the parser, which reports it as malformed.
template <typename CharT>
MarkupCount countMarkup(TextView<CharT> text, int limit)
{
    using View = TextView<CharT>;
    static constexpr CharT kComment[] = {'<', '!', '-', '-', 0};
    static constexpr CharT kCommentEnd[] = {'-', '-', '>', 0};
    static constexpr CharT kCData[] = {'<', '!', '[', 'C', 'D', 'A', 'T', 'A', '[', 0};
    static constexpr CharT kCDataEnd[] = {']', ']', '>', 0};
    static constexpr CharT kPi[] = {'<', '?', 0};
    static constexpr CharT kPiEnd[] = {'?', '>', 0};
    static constexpr CharT kDecl[] = {'<', '!', 0};
    static constexpr CharT kDoctype[] = {'<', '!', 'D', 'O', 'C', 'T', 'Y', 'P', 'E', 0};
    MarkupCount out;
    const std::size_t n = text.size();
    auto skipPast = [&](std::size_t from, View end) {
        const std::size_t at = text.find(end, from);
        return at == View::npos ? n : at + end.size();
    };
    auto closingQuote = [&](std::size_t j) {
        const std::size_t q = text.find(text[j], j + 1);
        return q == View::npos ? n : q;
    };
    std::size_t i = 0;
    while (i < n) {
        const std::size_t lt = text.find(CharT('<'), i);
        if (lt == View::npos || lt + 1 >= n)
            return out;
        const View rest = text.substr(lt);
        if (rest.starts_with(kComment)) {
            i = skipPast(lt + 4, kCommentEnd);
        } else if (rest.starts_with(kCData)) {
            i = skipPast(lt + 9, kCDataEnd);
        } else if (rest.starts_with(kPi)) {
            i = skipPast(lt + 2, kPiEnd);
        } else if (rest.starts_with(kDoctype)) {
            out.doctype = qsizetype(lt);
            return out;
        } else if (rest.starts_with(kDecl)) {
            // A declaration: its internal subset may hold markup and quoted texts.
            std::size_t j = lt + 2;
            int brackets = 0;
            for (; j < n; ++j) {
                const CharT c = text[j];
                if (c == CharT('"') || c == CharT('\''))
                    j = closingQuote(j);
                else if (c == CharT('['))
                    ++brackets;
                else if (c == CharT(']'))
                    --brackets;
                else if (c == CharT('>') && brackets <= 0)
                    break;
            }
            i = j + 1;
        } else if (text[lt + 1] == CharT('/')) {
            const std::size_t gt = text.find(CharT('>'), lt + 2);
            i = gt == View::npos ? n : gt + 1;
        } else {
            ++out.startTags;
            int count = 0;
            std::size_t j = lt + 1;
            for (; j < n; ++j) {
                const CharT c = text[j];
                if (c == CharT('"') || c == CharT('\'')) {
                    j = closingQuote(j);
                } else if (c == CharT('=')) {
                    ++out.attributes;
                    if (++count > limit) {
                        out.overfullTag = qsizetype(lt);
                        return out;
                    }
                } else if (c == CharT('>')) {
                    break;
                }
            }
            i = j + 1;
        }
    }
    return out;
}

// Attribute names of a file, each stored once. Rows list the same attributes in the same
// order, so the name at the same position of the previous element is tried first; a bounded
// search of the names seen so far comes next, and a new name is added without a search once
// there are many, so the cost per attribute stays constant.
class NameTable {
public:
    int intern(detail::XmlTree& tree, QStringView name, qsizetype position)
    {
        if (std::size_t(position) < m_byPosition.size()) {
            const int guess = m_byPosition[std::size_t(position)];
            if (tree.view(tree.names[std::size_t(guess)]) == name)
                return guess;
        } else {
            m_byPosition.resize(std::size_t(position) + 1, 0);
        }
        int id = -1;
        const std::size_t searched = std::min<std::size_t>(tree.names.size(), kSearched);
        for (std::size_t i = 0; i < searched && id < 0; ++i)
            if (tree.view(tree.names[i]) == name)
                id = int(i);
        if (id < 0) {
            id = int(tree.names.size());
            tree.names.push_back(tree.add(name));
        }
        m_byPosition[std::size_t(position)] = id;
        return id;
    }

private:
    static constexpr std::size_t kSearched = 64;
    std::vector<int> m_byPosition;
};

// Streams the text into a tree. Whitespace between elements becomes text inside the
// enclosing element, which no reader takes for a row or a value. Comments inside the root
// are dropped; those outside it are kept for the caller. Input is either UTF-8 bytes
// (char) or decoded text (char16_t); both are scanned for the attribute limit first.
template <typename CharT, typename Input>
std::shared_ptr<detail::XmlTree> buildTree(const Input& input, TextView<CharT> text,
                                           QStringList* documentComments, ParseError* error)
{
    const MarkupCount count = countMarkup(text, kProjectXmlMaxAttributes);
    if (count.doctype >= 0) {
        error->what = QString::fromLatin1(kDoctypeRefused);
        lineAndColumn(text, std::size_t(count.doctype), &error->line, &error->column);
        return nullptr;
    }
    if (count.overfullTag >= 0) {
        error->what =
            QStringLiteral("an element has more than %1 attributes").arg(kProjectXmlMaxAttributes);
        lineAndColumn(text, std::size_t(count.overfullTag), &error->line, &error->column);
        return nullptr;
    }

    auto tree = std::make_shared<detail::XmlTree>();
    tree->pool.reserve(qsizetype(text.size()));
    tree->nodes.reserve(std::size_t(count.startTags));
    tree->attributes.reserve(std::size_t(count.attributes));
    // Text pieces: at most one before each start tag and one before each end tag.
    tree->texts.reserve(std::size_t(count.startTags) * 2);
    QXmlStreamReader r(input);
    // Project files use no namespaces; a name with a colon is read as it stands.
    r.setNamespaceProcessing(false);
    struct Open {
        qsizetype index;
        qsizetype lastChild;
    };
    std::vector<Open> open;
    NameTable names;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (open.size() >= std::size_t(kProjectXmlMaxDepth)) {
                r.raiseError(QStringLiteral("elements are nested deeper than %1 levels")
                                 .arg(kProjectXmlMaxDepth));
                break;
            }
            const qsizetype index = qsizetype(tree->nodes.size());
            if (!open.empty()) {
                Open& parent = open.back();
                if (parent.lastChild < 0)
                    tree->nodes[parent.index].firstChild = index;
                else
                    tree->nodes[parent.lastChild].nextSibling = index;
                parent.lastChild = index;
            }
            detail::XmlTree::Node node;
            node.name = tree->add(r.qualifiedName());
            node.attrBegin = qsizetype(tree->attributes.size());
            const QXmlStreamAttributes attributes = r.attributes();
            for (qsizetype i = 0; i < attributes.size(); ++i) {
                const QXmlStreamAttribute& a = attributes.at(i);
                const detail::XmlTree::Span value = tree->add(a.value());
                tree->attributes.push_back(
                    {value.begin, int(value.size), names.intern(*tree, a.qualifiedName(), i)});
            }
            node.attrEnd = qsizetype(tree->attributes.size());
            node.textBegin = qsizetype(tree->texts.size());
            tree->nodes.push_back(node);
            open.push_back({index, -1});
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.empty()) {
                tree->nodes[open.back().index].textEnd = qsizetype(tree->texts.size());
                open.pop_back();
            }
            break;
        case QXmlStreamReader::Characters:
            // Outside the root only whitespace can stand, and it is no value.
            if (!open.empty())
                tree->texts.push_back(tree->add(r.text()));
            break;
        case QXmlStreamReader::Comment:
            if (open.empty())
                documentComments->append(r.text().toString());
            break;
        case QXmlStreamReader::DTD:
            // Refused before parsing already; this is the parser's own word on the same.
            r.raiseError(QString::fromLatin1(kDoctypeRefused));
            break;
        default: break;
        }
    }
    if (r.hasError()) {
        error->what = r.errorString();
        error->line = r.lineNumber();
        // The parser gives the number of characters it has read on the line. For a fault at a
        // character that is the character's column counted from 1, as the limits above count;
        // a file ending before any character of its last line gave column 0, which no count
        // from 1 has: the message then names the line's first column.
        error->column = std::max<qint64>(1, r.columnNumber());
        return nullptr;
    }
    return tree;
}

int intTextDef(const std::optional<QString>& text, int def)
{
    return text ? strToIntDef(*text, def) : def;
}

// Character data as the reader will give it back. The reader turns every carriage return of
// a text into a line feed, so a carriage return is written as a character reference;
// tabs, line feeds and blanks survive as they stand.
void writeText(QXmlStreamWriter& w, const QString& text)
{
    QStringView rest(text);
    for (qsizetype cr = rest.indexOf(u'\r'); cr >= 0; cr = rest.indexOf(u'\r')) {
        if (cr > 0)
            w.writeCharacters(rest.left(cr).toString());
        w.writeEntityReference(QStringLiteral("#13"));
        rest = rest.mid(cr + 1);
    }
    if (!rest.isEmpty())
        w.writeCharacters(rest.toString());
}

// Written iteratively: the depth of a document being built is the caller's, not a file's,
// but a writer should not need the stack to be deep either.
void writeElement(QXmlStreamWriter& w, const ProjectXmlElement& root)
{
    struct Frame {
        const ProjectXmlElement* element;
        std::list<ProjectXmlElement>::const_iterator next;
    };
    auto start = [&w](const ProjectXmlElement& e) {
        w.writeStartElement(e.name());
        // The writer escapes tabs, line feeds and carriage returns in attribute values, which
        // the reader would otherwise turn into blanks.
        for (const auto& [name, value] : e.attributes())
            w.writeAttribute(name, value);
        if (!e.text().isEmpty())
            writeText(w, e.text());
        return Frame{&e, e.children().begin()};
    };
    std::vector<Frame> stack{start(root)};
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.element->children().end()) {
            w.writeEndElement();
            stack.pop_back();
            continue;
        }
        const ProjectXmlElement& child = *top.next++;
        stack.push_back(start(child));
    }
}

}  // namespace

QString XmlElement::tagName() const
{
    return m_tree ? m_tree->view(m_tree->nodes[m_index].name).toString() : QString();
}

QString XmlElement::text() const
{
    if (!m_tree)
        return {};
    const detail::XmlTree::Node& n = m_tree->nodes[m_index];
    QString out;
    for (qsizetype i = n.textBegin; i < n.textEnd; ++i)
        out += m_tree->view(m_tree->texts[i]);
    return out;
}

QList<XmlAttribute> XmlElement::attributes() const
{
    QList<XmlAttribute> out;
    if (!m_tree)
        return out;
    const detail::XmlTree::Node& n = m_tree->nodes[m_index];
    for (qsizetype i = n.attrBegin; i < n.attrEnd; ++i) {
        const detail::XmlTree::Attribute& a = m_tree->attributes[i];
        out.append({m_tree->nameOf(a).toString(), m_tree->valueOf(a).toString()});
    }
    return out;
}

std::optional<QStringView> XmlElement::attributeView(QAnyStringView name) const
{
    if (!m_tree)
        return std::nullopt;
    const detail::XmlTree::Node& n = m_tree->nodes[m_index];
    for (qsizetype i = n.attrBegin; i < n.attrEnd; ++i) {
        const detail::XmlTree::Attribute& a = m_tree->attributes[i];
        if (QAnyStringView::equal(m_tree->nameOf(a), name))
            return m_tree->valueOf(a);
    }
    return std::nullopt;
}

std::optional<QString> XmlElement::attribute(QAnyStringView name) const
{
    const std::optional<QStringView> v = attributeView(name);
    return v ? std::optional<QString>(v->toString()) : std::nullopt;
}

XmlElement XmlElement::firstChildElement() const
{
    return m_tree ? m_tree->element(m_tree->nodes[m_index].firstChild) : XmlElement();
}

XmlElement XmlElement::firstChildElement(QAnyStringView name) const
{
    if (!m_tree)
        return {};
    for (qsizetype i = m_tree->nodes[m_index].firstChild; i >= 0;
         i = m_tree->nodes[i].nextSibling) {
        if (QAnyStringView::equal(m_tree->view(m_tree->nodes[i].name), name))
            return m_tree->element(i);
    }
    return {};
}

XmlElement XmlElement::nextSiblingElement() const
{
    return m_tree ? m_tree->element(m_tree->nodes[m_index].nextSibling) : XmlElement();
}

ProjectXmlLoad parseProjectXml(const QByteArray& bytes, const QString& name)
{
    ProjectXmlLoad r;
    QStringList comments;
    ParseError error;
    std::shared_ptr<const detail::XmlTree> tree;
    // A NUL byte is valid UTF-8 but would let the parser guess a UTF-16 or UTF-32 file from
    // the first bytes; such a file takes the path of decoded text, where NUL is an error.
    const bool hasNul = std::memchr(bytes.constData(), 0, std::size_t(bytes.size())) != nullptr;
    if (isUtf8(bytes) && !hasNul && !declaresOtherEncoding(bytes)) {
        // The parser reads UTF-8 bytes directly; handing it decoded text would have it
        // encode the text back to UTF-8 first.
        tree = buildTree<char>(bytes, std::string_view(bytes.constData(), bytes.size()), &comments,
                               &error);
    } else {
        // Files of older versions may hold single-byte accented characters, which a strict
        // UTF-8 parse would reject as a whole: bytes that are not valid UTF-8 are Latin-1.
        // Valid UTF-8 is read as UTF-8 whatever encoding the declaration names.
        const QString text = isUtf8(bytes) ? QString::fromUtf8(bytes) : QString::fromLatin1(bytes);
        const std::u16string_view view(reinterpret_cast<const char16_t*>(text.utf16()),
                                       std::size_t(text.size()));
        tree = buildTree<char16_t>(text, view, &comments, &error);
    }
    if (!tree) {
        r.status = ProjectXmlLoad::Status::Malformed;
        r.message = QStringLiteral("%1 is not a valid XML file (line %2, column %3: %4)")
                        .arg(displayPath(name))
                        .arg(error.line)
                        .arg(error.column)
                        .arg(error.what);
        return r;
    }
    // The root is the document element, even when a declaration or a comment stands before
    // it. Taking the document's first node instead, as older versions did, read such a file
    // as if it held no values: the editor then showed its defaults and wrote them over the
    // user's file on OK, and the compiler sent the device a configuration nobody made.
    r.root = tree->element(tree->nodes.empty() ? -1 : 0);
    if (r.root.isNull()) {
        r.status = ProjectXmlLoad::Status::Malformed;
        r.message = QStringLiteral("%1 holds no XML element").arg(displayPath(name));
        return r;
    }
    r.documentComments = std::move(comments);
    r.status = ProjectXmlLoad::Status::Ok;
    return r;
}

ProjectXmlLoad loadProjectXml(const QString& path)
{
    ProjectXmlLoad r;
    if (!QFileInfo(path).isFile()) {
        r.status = QFileInfo::exists(path) ? ProjectXmlLoad::Status::Unreadable
                                           : ProjectXmlLoad::Status::Missing;
        r.message = r.missing() ? QStringLiteral("File %1 does not exist").arg(displayPath(path))
                                : QStringLiteral("%1 is not a file").arg(displayPath(path));
        return r;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        r.status = ProjectXmlLoad::Status::Unreadable;
        r.message = QStringLiteral("Cannot read %1: %2").arg(displayPath(path), f.errorString());
        return r;
    }
    return parseProjectXml(f.readAll(), path);
}

XmlElement childElement(const XmlElement& parent, QAnyStringView name)
{
    return parent.firstChildElement(name);
}

QList<XmlElement> rowElements(const XmlElement& table)
{
    QList<XmlElement> rows;
    for (XmlElement e = table.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        rows.append(e);
    return rows;
}

std::optional<QString> childText(const XmlElement& parent, QAnyStringView name)
{
    const XmlElement e = childElement(parent, name);
    if (e.isNull())
        return std::nullopt;
    return e.text();
}

QString childTextDef(const XmlElement& parent, QAnyStringView name, const QString& def)
{
    return childText(parent, name).value_or(def);
}

int childIntDef(const XmlElement& parent, QAnyStringView name, int def)
{
    return intTextDef(childText(parent, name), def);
}

bool childChecked(const XmlElement& parent, QAnyStringView name)
{
    return childText(parent, name) == QLatin1String("1");
}

std::optional<QString> attributeText(const XmlElement& e, QAnyStringView name)
{
    return e.attribute(name);
}

QString attributeTextDef(const XmlElement& e, QAnyStringView name, const QString& def)
{
    return attributeText(e, name).value_or(def);
}

int attributeIntDef(const XmlElement& e, QAnyStringView name, int def)
{
    const std::optional<QStringView> v = e.attributeView(name);
    return v ? strToIntDef(*v, def) : def;
}

bool attributeIsY(const XmlElement& e, QAnyStringView name)
{
    return e.attributeView(name) == u"Y";
}

ProjectXmlElement& ProjectXmlElement::setAttribute(const QString& name, const QString& value)
{
    for (auto& a : m_attributes) {
        if (a.first == name) {
            a.second = value;
            return *this;
        }
    }
    m_attributes.append({name, value});
    return *this;
}

ProjectXmlElement& ProjectXmlElement::setText(const QString& text)
{
    m_text = text;
    return *this;
}

ProjectXmlElement& ProjectXmlElement::addChild(const QString& name)
{
    return m_children.emplace_back(name);
}

ProjectXmlElement& ProjectXmlElement::addTextChild(const QString& name, const QString& text)
{
    return addChild(name).setText(text);
}

ProjectXmlWriter::ProjectXmlWriter(const QString& rootName, const QString& version)
    : m_root(rootName),
      m_version(version.isNull() ? QString::fromLatin1(Build_SW_Version) : version)
{
}

QString ProjectXmlWriter::versionComment() const
{
    return QStringLiteral("SW_VERSION = ") + m_version;
}

namespace {

// The file's bytes; *representable is false when a value held a character XML cannot store.
QByteArray documentBytes(const ProjectXmlElement& root, const QString& comment, bool* representable)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    // No writeStartDocument: the files carry no XML declaration.
    writeElement(w, root);
    if (!comment.isNull())
        w.writeComment(comment);
    *representable = !w.hasError();
    // Auto-formatting starts the first element on a new line; the root opens the file.
    while (out.startsWith('\n'))
        out.remove(0, 1);
    out.append('\n');
    return out;
}

}  // namespace

QByteArray ProjectXmlWriter::toByteArray() const
{
    bool representable = true;
    return documentBytes(m_root, m_withVersionComment ? versionComment() : QString(),
                         &representable);
}

// Mended: a value holding a control character used to lose it silently on saving; the save
// now fails and says why, and the old file stays.
FileResult ProjectXmlWriter::save(const QString& path) const
{
    bool representable = true;
    const QByteArray bytes = documentBytes(m_root,
                                           m_withVersionComment ? versionComment() : QString(),
                                           &representable);
    if (!representable)
        return FileResult::failure(
            QStringLiteral("Cannot write %1: a value holds a character that the file cannot "
                           "store")
                .arg(displayPath(path)));
    return saveFileAtomically(path, bytes);
}

FileResult saveFileAtomically(const QString& path, const QByteArray& bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return FileResult::failure(
            QStringLiteral("Cannot write %1: %2").arg(displayPath(path), f.errorString()));
    if (f.write(bytes) != bytes.size()) {
        const QString why = f.errorString();
        f.cancelWriting();
        return FileResult::failure(
            QStringLiteral("Cannot write %1: %2").arg(displayPath(path), why));
    }
    if (!f.commit())
        return FileResult::failure(
            QStringLiteral("Cannot write %1: %2").arg(displayPath(path), f.errorString()));
    return FileResult::success();
}

}  // namespace zfw
