#include "common/ProjectXml.h"

#include "common/TextUtil.h"
#include "common/UComon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <memory>
#include <vector>

namespace zfw {

QString displayPath(const QString& path) { return QDir::toNativeSeparators(path); }

namespace {

// UTF-8 when the bytes are valid UTF-8, Latin-1 otherwise: files of older versions may hold
// single-byte accented characters, which a strict UTF-8 parse would reject as a whole.
QString decodeProjectBytes(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

}  // namespace

namespace detail {

// A loaded file as flat arrays: elements in document order, each naming its first child and
// next sibling by index, so neither building nor freeing the tree recurses.
struct XmlTree : std::enable_shared_from_this<XmlTree> {
    struct Node {
        QString name;
        int firstChild = -1;
        int nextSibling = -1;
        int attrBegin = 0;
        int attrEnd = 0;
        int textBegin = 0;  // the texts inside the element, descendants' included
        int textEnd = 0;
    };
    std::vector<Node> nodes;
    std::vector<XmlAttribute> attributes;
    std::vector<QString> texts;

    XmlElement element(int index) const
    {
        if (index < 0)
            return {};
        return XmlElement(shared_from_this(), index);
    }
};

}  // namespace detail

namespace {

struct ParseError {
    QString what;
    qint64 line = 0;
    qint64 column = 0;
};

// Line (from 1) and column (from 1) of a position in text.
void lineAndColumn(QStringView text, qsizetype pos, qint64* line, qint64* column)
{
    const QStringView before = text.left(pos);
    *line = before.count(u'\n') + 1;
    *column = pos - (before.lastIndexOf(u'\n') + 1) + 1;
}

// Finds the first start tag with more than limit attributes, counting "=" outside quotes;
// -1 when there is none. One pass over the text; comments, CDATA sections, processing
// instructions and declarations are skipped. What it cannot make sense of is left to the
// parser, which reports it as malformed.
qsizetype overfullStartTag(QStringView text, int limit)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipPast = [&](qsizetype from, QStringView end) {
        const qsizetype at = text.indexOf(end, from);
        return at < 0 ? n : at + end.size();
    };
    while (i < n) {
        const qsizetype lt = text.indexOf(u'<', i);
        if (lt < 0 || lt + 1 >= n)
            return -1;
        const QStringView rest = text.mid(lt);
        if (rest.startsWith(u"<!--")) {
            i = skipPast(lt + 4, u"-->");
        } else if (rest.startsWith(u"<![CDATA[")) {
            i = skipPast(lt + 9, u"]]>");
        } else if (rest.startsWith(u"<?")) {
            i = skipPast(lt + 2, u"?>");
        } else if (rest.startsWith(u"<!")) {
            // A declaration: its internal subset may hold markup and quoted texts.
            qsizetype j = lt + 2;
            int brackets = 0;
            for (; j < n; ++j) {
                const QChar c = text[j];
                if (c == u'"' || c == u'\'') {
                    const qsizetype q = text.indexOf(c, j + 1);
                    j = q < 0 ? n : q;
                } else if (c == u'[') {
                    ++brackets;
                } else if (c == u']') {
                    --brackets;
                } else if (c == u'>' && brackets <= 0) {
                    break;
                }
            }
            i = j + 1;
        } else {
            int count = 0;
            qsizetype j = lt + 1;
            for (; j < n; ++j) {
                const QChar c = text[j];
                if (c == u'"' || c == u'\'') {
                    const qsizetype q = text.indexOf(c, j + 1);
                    j = q < 0 ? n : q;
                } else if (c == u'=') {
                    if (++count > limit)
                        return lt;
                } else if (c == u'>') {
                    break;
                }
            }
            i = j + 1;
        }
    }
    return -1;
}

// Streams the text into a tree. Whitespace between elements becomes text inside the
// enclosing element, which no reader takes for a row or a value. Comments inside the root
// are dropped; those outside it are kept for the caller.
std::shared_ptr<detail::XmlTree> buildTree(const QString& text, QStringList* documentComments,
                                           ParseError* error)
{
    if (const qsizetype at = overfullStartTag(text, kProjectXmlMaxAttributes); at >= 0) {
        error->what = QStringLiteral("an element has more than %1 attributes")
                          .arg(kProjectXmlMaxAttributes);
        lineAndColumn(text, at, &error->line, &error->column);
        return nullptr;
    }

    auto tree = std::make_shared<detail::XmlTree>();
    QXmlStreamReader r(text);
    // Project files use no namespaces; a name with a colon is read as it stands.
    r.setNamespaceProcessing(false);
    struct Open {
        int index;
        int lastChild;
    };
    std::vector<Open> open;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement: {
            if (open.size() >= std::size_t(kProjectXmlMaxDepth)) {
                r.raiseError(QStringLiteral("elements are nested deeper than %1 levels")
                                 .arg(kProjectXmlMaxDepth));
                break;
            }
            const int index = int(tree->nodes.size());
            if (!open.empty()) {
                Open& parent = open.back();
                if (parent.lastChild < 0)
                    tree->nodes[parent.index].firstChild = index;
                else
                    tree->nodes[parent.lastChild].nextSibling = index;
                parent.lastChild = index;
            }
            detail::XmlTree::Node node;
            node.name = r.qualifiedName().toString();
            node.attrBegin = int(tree->attributes.size());
            for (const QXmlStreamAttribute& a : r.attributes())
                tree->attributes.push_back(
                    {a.qualifiedName().toString(), a.value().toString()});
            node.attrEnd = int(tree->attributes.size());
            node.textBegin = int(tree->texts.size());
            tree->nodes.push_back(std::move(node));
            open.push_back({index, -1});
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!open.empty()) {
                tree->nodes[open.back().index].textEnd = int(tree->texts.size());
                open.pop_back();
            }
            break;
        case QXmlStreamReader::Characters:
            // Outside the root only whitespace can stand, and it is no value.
            if (!open.empty())
                tree->texts.push_back(r.text().toString());
            break;
        case QXmlStreamReader::Comment:
            if (open.empty())
                documentComments->append(r.text().toString());
            break;
        default:
            break;
        }
    }
    if (r.hasError()) {
        error->what = r.errorString();
        error->line = r.lineNumber();
        error->column = r.columnNumber();
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
    return m_tree ? m_tree->nodes[m_index].name : QString();
}

QString XmlElement::text() const
{
    if (!m_tree)
        return {};
    const detail::XmlTree::Node& n = m_tree->nodes[m_index];
    if (n.textEnd - n.textBegin == 1)
        return m_tree->texts[n.textBegin];
    QString out;
    for (int i = n.textBegin; i < n.textEnd; ++i)
        out += m_tree->texts[i];
    return out;
}

QList<XmlAttribute> XmlElement::attributes() const
{
    QList<XmlAttribute> out;
    if (!m_tree)
        return out;
    const detail::XmlTree::Node& n = m_tree->nodes[m_index];
    for (int i = n.attrBegin; i < n.attrEnd; ++i)
        out.append(m_tree->attributes[i]);
    return out;
}

std::optional<QString> XmlElement::attribute(QAnyStringView name) const
{
    if (!m_tree)
        return std::nullopt;
    const detail::XmlTree::Node& n = m_tree->nodes[m_index];
    for (int i = n.attrBegin; i < n.attrEnd; ++i) {
        const XmlAttribute& a = m_tree->attributes[i];
        if (QAnyStringView::equal(a.name, name))
            return a.value;
    }
    return std::nullopt;
}

XmlElement XmlElement::firstChildElement() const
{
    return m_tree ? m_tree->element(m_tree->nodes[m_index].firstChild) : XmlElement();
}

XmlElement XmlElement::firstChildElement(QAnyStringView name) const
{
    if (!m_tree)
        return {};
    for (int i = m_tree->nodes[m_index].firstChild; i >= 0; i = m_tree->nodes[i].nextSibling) {
        if (QAnyStringView::equal(m_tree->nodes[i].name, name))
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
    const std::shared_ptr<const detail::XmlTree> tree =
        buildTree(decodeProjectBytes(bytes), &comments, &error);
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
        r.message = r.missing()
                        ? QStringLiteral("File %1 does not exist").arg(displayPath(path))
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
    return intTextDef(attributeText(e, name), def);
}

bool attributeIsY(const XmlElement& e, QAnyStringView name)
{
    return attributeText(e, name) == QLatin1String("Y");
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
QByteArray documentBytes(const ProjectXmlElement& root, const QString& comment,
                         bool* representable)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    // No writeStartDocument: the files carry no XML declaration.
    writeElement(w, root);
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
    return documentBytes(m_root, versionComment(), &representable);
}

// Mended: a value holding a control character used to lose it silently on saving; the save
// now fails and says why, and the old file stays.
FileResult ProjectXmlWriter::save(const QString& path) const
{
    bool representable = true;
    const QByteArray bytes = documentBytes(m_root, versionComment(), &representable);
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
