#pragma once
// Project XML files: the conventions every editor and the image compiler share.
//
// Reading: the document element is the root, whatever its name and whatever declaration or
// comment stands before it; values are looked up by name among the root's (or a table's)
// direct children, each in its own step with its own default, so one missing or malformed
// value never spoils the others. Integer texts go through parseIntText. Rows of a table are
// its child elements in document order; whitespace, comments and stray text between them are
// no rows.
//
// Writing: the whole document is rebuilt in memory (root, then the "SW_VERSION = ..."
// comment after the root at document level, no XML declaration), attributes keep the order
// in which they were set, and the file is replaced atomically.

#include <QAnyStringView>
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <list>
#include <memory>
#include <optional>

namespace zfw {

// Outcome of a file operation: ok, or a message for the user that names the file.
struct FileResult {
    bool ok = true;
    QString message;

    static FileResult success() { return {}; }
    static FileResult failure(QString text) { return {false, std::move(text)}; }
    explicit operator bool() const { return ok; }
};

// A file's path as messages to the user show it.
QString displayPath(const QString& path);

// ---- Reading ------------------------------------------------------------------------------

// Project and settings files are three or four levels deep; anything deeper is refused, so a
// hostile file can neither make reading slow nor exhaust the stack.
inline constexpr int kProjectXmlMaxDepth = 16;
// Rule rows carry about twenty attributes. The XML parser checks every attribute of an
// element against all earlier ones, so an element with tens of thousands of them would take
// seconds; such a file is refused before parsing.
inline constexpr int kProjectXmlMaxAttributes = 256;

struct XmlAttribute {
    QString name;
    QString value;
};

namespace detail {
struct XmlTree;
}

// An element of a loaded file: name, attributes in document order, text and child elements.
// A default-constructed element is null; every accessor of a null element answers empty.
// Copies are cheap and keep the loaded file alive.
class XmlElement {
public:
    XmlElement() = default;

    bool isNull() const { return !m_tree; }
    QString tagName() const;
    // Every text inside the element, its descendants' included, in document order; texts of
    // blanks are kept as they stand.
    QString text() const;
    QList<XmlAttribute> attributes() const;
    // Value of the first attribute called name; nullopt when there is none.
    std::optional<QString> attribute(QAnyStringView name) const;
    // The same without a copy; valid while the element (or a copy of it) lives.
    std::optional<QStringView> attributeView(QAnyStringView name) const;

    // First child element (named name, when name is given); null when there is none.
    XmlElement firstChildElement() const;
    XmlElement firstChildElement(QAnyStringView name) const;
    // Next element with the same parent; null after the last.
    XmlElement nextSiblingElement() const;

private:
    friend struct detail::XmlTree;
    XmlElement(std::shared_ptr<const detail::XmlTree> tree, qsizetype index)
        : m_tree(std::move(tree)), m_index(index)
    {
    }

    std::shared_ptr<const detail::XmlTree> m_tree;
    qsizetype m_index = -1;
};

struct ProjectXmlLoad {
    enum class Status { Ok, Missing, Unreadable, Malformed };

    Status status = Status::Missing;
    XmlElement root;               // the document element; null unless status is Ok
    QStringList documentComments;  // comments outside the root element, in document order
    QString message;  // empty when Ok; names the file (and line and column when malformed)

    bool ok() const { return status == Status::Ok; }
    bool missing() const { return status == Status::Missing; }
};

// Loads a project file. A file that does not exist gives Missing; one that cannot be opened,
// Unreadable; one that is not well-formed XML, has no element, holds a document type
// declaration (<!DOCTYPE ...>), nests elements deeper than kProjectXmlMaxDepth or carries
// more than kProjectXmlMaxAttributes attributes on one element, Malformed; its message names
// the line and the column, both counted from 1. Files written in UTF-8 are read as such; bytes that are not valid
// UTF-8 are read as Latin-1, so older files with accented names still load. Texts are kept
// as they stand, blanks-only ones too. Reading time grows linearly with the file size.
ProjectXmlLoad loadProjectXml(const QString& path);
// The same for bytes already in memory; name stands for the file in messages.
ProjectXmlLoad parseProjectXml(const QByteArray& bytes, const QString& name);

// First direct child element of parent named name; null when parent is null or has none.
XmlElement childElement(const XmlElement& parent, QAnyStringView name);

// Child elements of a table in document order (its rows), whatever their names.
QList<XmlElement> rowElements(const XmlElement& table);

// Text of the child element name; nullopt when the element is missing.
std::optional<QString> childText(const XmlElement& parent, QAnyStringView name);
QString childTextDef(const XmlElement& parent, QAnyStringView name, const QString& def);
// Integer text of the child element name; def when it is missing or no integer text.
int childIntDef(const XmlElement& parent, QAnyStringView name, int def);
// True only when the child element name holds exactly "1" (check boxes of ParGen.xml).
bool childChecked(const XmlElement& parent, QAnyStringView name);

// Attribute value; nullopt when the attribute is missing.
std::optional<QString> attributeText(const XmlElement& e, QAnyStringView name);
QString attributeTextDef(const XmlElement& e, QAnyStringView name, const QString& def);
// Integer text of the attribute; def when it is missing or no integer text.
int attributeIntDef(const XmlElement& e, QAnyStringView name, int def);
// True only when the attribute holds exactly "Y" (check boxes of rule files).
bool attributeIsY(const XmlElement& e, QAnyStringView name);

// ---- Writing ------------------------------------------------------------------------------

// An element of a document being built. Attributes are written in the order they were first
// set; children in the order they were added. References returned by addChild stay valid
// while the parent lives.
class ProjectXmlElement {
public:
    explicit ProjectXmlElement(QString name) : m_name(std::move(name)) {}

    const QString& name() const { return m_name; }

    // Sets an attribute; a name set twice keeps its first position and takes the new value.
    ProjectXmlElement& setAttribute(const QString& name, const QString& value);
    ProjectXmlElement& setText(const QString& text);
    ProjectXmlElement& addChild(const QString& name);
    // Adds a child holding only a text, the form of every value of ParGen.xml.
    ProjectXmlElement& addTextChild(const QString& name, const QString& text);

    const QList<QPair<QString, QString>>& attributes() const { return m_attributes; }
    const QString& text() const { return m_text; }
    const std::list<ProjectXmlElement>& children() const { return m_children; }

private:
    QString m_name;
    QList<QPair<QString, QString>> m_attributes;
    QString m_text;
    std::list<ProjectXmlElement> m_children;
};

// A project file being built: its root element, followed at document level by the comment
// "SW_VERSION = " plus the format version.
class ProjectXmlWriter {
public:
    // version defaults to the build's format version (Build_SW_Version).
    explicit ProjectXmlWriter(const QString& rootName, const QString& version = QString());

    ProjectXmlElement& root() { return m_root; }
    const ProjectXmlElement& root() const { return m_root; }
    QString versionComment() const;
    // Leaves the version comment out of the file (scan reports carry none).
    void omitVersionComment() { m_withVersionComment = false; }

    // The file's bytes: UTF-8, indented, no XML declaration. Every value is written so that
    // reading the file gives it back unchanged, carriage returns, tabs, line feeds and blanks
    // at either end included.
    QByteArray toByteArray() const;
    // Replaces the file atomically; on failure the old file is left as it was. A value holding
    // a character that XML cannot store (a control character other than tab, line feed and
    // carriage return) fails the save instead of being dropped from the file.
    FileResult save(const QString& path) const;

private:
    ProjectXmlElement m_root;
    QString m_version;
    bool m_withVersionComment = true;
};

// Writes bytes to path through a temporary file that replaces it only when everything was
// written; a failure names the file and the reason.
FileResult saveFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace zfw
