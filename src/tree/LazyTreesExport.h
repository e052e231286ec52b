#pragma once
// What the string tree's exports share: the growing text buffers, the kinds of export and of
// node source, the columns an export walks, and the pure pieces (the clipboard's HTML wrapper,
// the locale's list separator and paper size) that need no tree.

#include "common/Alignment.h"
#include "platform/Colors.h"
#include "tree/core/LazyTrees.h"

#include <QByteArray>
#include <QFont>
#include <QLocale>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace zfw {

// The format an export makes; handlers of the text events see it and may answer per format.
enum TLTExportType : std::uint8_t { etNone, etRTF, etHTML, etText, etExcel, etWord, etCustom };

// Which nodes an export walks.
enum TVSTTextSourceType : std::uint8_t {
    tstAll,
    tstInitialized,
    tstSelected,
    tstCutCopySet,
    tstVisible,
    tstChecked
};

// A UTF-16 text built by appending. The room grows in steps of 4096 characters, so that an
// export of many nodes reallocates rarely.
class TBufferedString {
public:
    void Add(QStringView s);
    // Appends CR LF.
    void AddNewLine();
    QString AsString() const { return m_data; }
    // Characters the buffer can hold before it grows.
    qsizetype capacity() const { return m_data.capacity(); }

private:
    QString m_data;
};

// The same for bytes (the RTF body), growing in steps of 4096 bytes.
class TBufferedRawByteString {
public:
    void Add(const QByteArray& s);
    void Add(const char* s) { Add(QByteArray(s)); }
    void AddNewLine();
    QByteArray AsString() const { return m_data; }
    qsizetype capacity() const { return m_data.capacity(); }

private:
    QByteArray m_data;
};

// One column as an export sees it.
struct TLTExportColumn {
    TColumnIndex Index = NoColumn;
    QString Text;  // the caption
    int Width = 0;
    TAlignment Alignment = taLeftJustify;
    TAlignment CaptionAlignment = taLeftJustify;
    bool RightToLeft = false;
    bool ParentColor = true;  // painted in the tree's colour, not a colour of its own
    TColor Color = clWindow;
};

// The columns of an export. Without header columns (UseColumns false) Visible holds the one
// implicit column -1 with the tree's alignment and reading direction.
struct TLTExportColumns {
    bool UseColumns = false;
    bool HeaderVisible = false;
    TColumnIndex MainColumn = NoColumn;
    int HeaderHeight = 0;
    QFont HeaderFont;
    std::vector<TLTExportColumn> Visible;  // in display order
    std::vector<TLTExportColumn> All;      // every column in index order, hidden ones too
};

// The clipboard's HTML description around an UTF-8 fragment: a header of 97 bytes with the
// byte offsets of the document and of the fragment, then the document.
QByteArray WrapClipboardHtml(const QByteArray& utf8Html);
// The list separator of a locale: ';' where the decimal point is ',', else ','.
QChar listSeparator(const QLocale& locale);
// The RTF paper size, landscape: A4 for metric locales, US letter otherwise.
QByteArray rtfPaperSize(QLocale::MeasurementSystem system);
// A value for text or CSV: in double quotes with embedded quotes doubled when it holds the
// separator, a double quote, CR or LF; otherwise as it is.
QString quotedExportValue(const QString& value, QStringView separator);
// Text for HTML content or attribute values: & < > " as entities.
QString htmlEscaped(const QString& text);
// A text as RTF control words (\uN\'3f per UTF-16 code unit, N signed; LF as {\par}, CR
// dropped).
QByteArray rtfEscaped(const QString& text);

}  // namespace zfw
