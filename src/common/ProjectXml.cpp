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

// Builds the document node by node. The DOM's own parser drops every text that holds only
// blanks, so a value of blanks (a device name, say) would come back empty and be written back
// so; here each text inside an element is kept as it stands. Whitespace between elements
// becomes text nodes too, which no reader takes for a row or a value.
bool buildDocument(const QString& text, QDomDocument& doc, QString* error, int* line,
                   int* column)
{
    QXmlStreamReader r(text);
    // Project files use no namespaces; a name with a colon is read as it stands.
    r.setNamespaceProcessing(false);
    // A default-constructed document is null and would ignore every node added to it.
    doc = QDomDocument(QDomDocumentType());
    QDomNode parent = doc;
    while (!r.atEnd()) {
        switch (r.readNext()) {
        case QXmlStreamReader::StartElement: {
            QDomElement e = doc.createElement(r.qualifiedName().toString());
            for (const QXmlStreamAttribute& a : r.attributes())
                e.setAttribute(a.qualifiedName().toString(), a.value().toString());
            parent.appendChild(e);
            parent = e;
            break;
        }
        case QXmlStreamReader::EndElement:
            parent = parent.parentNode();
            break;
        case QXmlStreamReader::Characters:
            // Outside the root only whitespace can stand, and it is no value.
            if (parent.isElement()) {
                const QString t = r.text().toString();
                parent.appendChild(r.isCDATA() ? QDomNode(doc.createCDATASection(t))
                                               : QDomNode(doc.createTextNode(t)));
            }
            break;
        case QXmlStreamReader::Comment:
            parent.appendChild(doc.createComment(r.text().toString()));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            parent.appendChild(
                doc.createProcessingInstruction(r.processingInstructionTarget().toString(),
                                                r.processingInstructionData().toString()));
            break;
        case QXmlStreamReader::EntityReference:
            parent.appendChild(doc.createEntityReference(r.name().toString()));
            break;
        default:
            break;
        }
    }
    if (!r.hasError())
        return true;
    *error = r.errorString();
    *line = int(r.lineNumber());
    *column = int(r.columnNumber());
    return false;
}

int intTextDef(const std::optional<QString>& text, int def)
{
    return text ? strToIntDef(*text, def) : def;
}

void writeElement(QXmlStreamWriter& w, const ProjectXmlElement& e)
{
    w.writeStartElement(e.name());
    for (const auto& [name, value] : e.attributes())
        w.writeAttribute(name, value);
    if (!e.text().isEmpty())
        w.writeCharacters(e.text());
    for (const ProjectXmlElement& child : e.children())
        writeElement(w, child);
    w.writeEndElement();
}

}  // namespace

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
    const QByteArray bytes = f.readAll();
    QString error;
    int line = 0;
    int column = 0;
    if (!buildDocument(decodeProjectBytes(bytes), r.document, &error, &line, &column)) {
        r.status = ProjectXmlLoad::Status::Malformed;
        r.message = QStringLiteral("%1 is not a valid XML file (line %2, column %3: %4)")
                        .arg(displayPath(path))
                        .arg(line)
                        .arg(column)
                        .arg(error);
        return r;
    }
    // The root is the document element, even when a declaration or a comment stands before
    // it. Taking the document's first node instead, as older versions did, read such a file
    // as if it held no values: the editor then showed its defaults and wrote them over the
    // user's file on OK, and the compiler sent the device a configuration nobody made.
    r.root = r.document.documentElement();
    if (r.root.isNull()) {
        r.status = ProjectXmlLoad::Status::Malformed;
        r.message = QStringLiteral("%1 holds no XML element").arg(displayPath(path));
        return r;
    }
    r.status = ProjectXmlLoad::Status::Ok;
    return r;
}

QDomElement childElement(const QDomElement& parent, QAnyStringView name)
{
    if (parent.isNull())
        return {};
    return parent.firstChildElement(name.toString());
}

QList<QDomElement> rowElements(const QDomElement& table)
{
    QList<QDomElement> rows;
    for (QDomElement e = table.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        rows.append(e);
    return rows;
}

std::optional<QString> childText(const QDomElement& parent, QAnyStringView name)
{
    const QDomElement e = childElement(parent, name);
    if (e.isNull())
        return std::nullopt;
    return e.text();
}

QString childTextDef(const QDomElement& parent, QAnyStringView name, const QString& def)
{
    return childText(parent, name).value_or(def);
}

int childIntDef(const QDomElement& parent, QAnyStringView name, int def)
{
    return intTextDef(childText(parent, name), def);
}

bool childChecked(const QDomElement& parent, QAnyStringView name)
{
    return childText(parent, name) == QLatin1String("1");
}

std::optional<QString> attributeText(const QDomElement& e, QAnyStringView name)
{
    const QString n = name.toString();
    if (e.isNull() || !e.hasAttribute(n))
        return std::nullopt;
    return e.attribute(n);
}

QString attributeTextDef(const QDomElement& e, QAnyStringView name, const QString& def)
{
    return attributeText(e, name).value_or(def);
}

int attributeIntDef(const QDomElement& e, QAnyStringView name, int def)
{
    return intTextDef(attributeText(e, name), def);
}

bool attributeIsY(const QDomElement& e, QAnyStringView name)
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

QByteArray ProjectXmlWriter::toByteArray() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    // No writeStartDocument: the files carry no XML declaration.
    writeElement(w, m_root);
    w.writeComment(versionComment());
    // Auto-formatting starts the first element on a new line; the root opens the file.
    while (out.startsWith('\n'))
        out.remove(0, 1);
    out.append('\n');
    return out;
}

FileResult ProjectXmlWriter::save(const QString& path) const
{
    return saveFileAtomically(path, toByteArray());
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
