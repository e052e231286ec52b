// The string tree's exports: HTML, RTF, text with a separator, a custom export through events,
// the clipboard's text formats and the CSV file.

#include "tree/LazyTreesExport.h"

#include "tree/LazyTreesString.h"
#include "tree/core/LazyTreesGuard.h"

#include <QSaveFile>

#include <algorithm>
#include <array>
#include <cmath>

namespace zfw {

// ----- buffers -----------------------------------------------------------------------------

namespace {

// The room to add when n more units do not fit: n rounded up to whole steps of 4096, but at
// least half the room there is, so that a large export is not copied again every 4096 units.
qsizetype grownCapacity(qsizetype capacity, qsizetype n)
{
    return capacity + std::max((n + 4095) / 4096 * 4096, capacity / 2);
}

}  // namespace

void TBufferedString::Add(QStringView s)
{
    if (s.isEmpty())
        return;
    if (s.size() >= m_data.capacity() - m_data.size())
        m_data.reserve(grownCapacity(m_data.capacity(), s.size()));
    m_data.append(s);
}

void TBufferedString::AddNewLine()
{
    if (m_data.capacity() - m_data.size() <= 4)
        m_data.reserve(grownCapacity(m_data.capacity(), 4096));
    m_data.append(QLatin1String("\r\n"));
}

void TBufferedRawByteString::Add(const QByteArray& s)
{
    if (s.isEmpty())
        return;
    if (s.size() >= m_data.capacity() - m_data.size())
        m_data.reserve(grownCapacity(m_data.capacity(), s.size()));
    m_data.append(s);
}

void TBufferedRawByteString::AddNewLine()
{
    if (m_data.capacity() - m_data.size() <= 2)
        m_data.reserve(grownCapacity(m_data.capacity(), 4096));
    m_data.append("\r\n");
}

// ----- pure pieces -------------------------------------------------------------------------

QByteArray WrapClipboardHtml(const QByteArray& utf8Html)
{
    const qsizetype n = utf8Html.size();
    auto line = [](const char* name, qsizetype value) {
        return QByteArray(name) + QByteArray::number(value).rightJustified(8, '0') + "\r\n";
    };
    QByteArray out = "Version:1.0\r\n";
    out += line("StartHTML:", 97);
    out += line("EndHTML:", n + 301);
    out += line("StartFragment:", 269);
    out += line("EndFragment:", n + 269);
    out += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
    out +=
        "<html><head><META http-equiv=Content-Type content=\"text/html; charset=utf-8\"></head>"
        "<body><!--StartFragment-->";
    out += utf8Html;
    out += "<!--EndFragment--></body></html>";
    return out;
}

QChar listSeparator(const QLocale& locale)
{
    // Qt has no list separator of its own; where the comma is the decimal point, spreadsheets
    // separate lists with a semicolon.
    return locale.decimalPoint() == QLatin1String(",") ? QChar(';') : QChar(',');
}

QByteArray rtfPaperSize(QLocale::MeasurementSystem system)
{
    return system == QLocale::MetricSystem ? QByteArray("\\paperw16840\\paperh11907")
                                           : QByteArray("\\paperw15840\\paperh12240");
}

QString quotedExportValue(const QString& value, QStringView separator)
{
    // Quoting only values that hold the separator let quotes and line breaks through raw, so
    // a spreadsheet split or merged the rows; such values are quoted as well.
    const bool quote = std::any_of(value.begin(), value.end(),
                                   [](QChar c) { return c == '"' || c == '\r' || c == '\n'; })
                       || (!separator.isEmpty() && value.contains(separator));
    if (!quote)
        return value;
    QString out = value;
    out.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString htmlEscaped(const QString& text)
{
    const auto special = [](QChar c) { return c == '&' || c == '<' || c == '>' || c == '"'; };
    if (std::none_of(text.begin(), text.end(), special))
        return text;
    // Texts went into the document as they were, so a < or & broke the table and node texts
    // could inject markup into the clipboard's HTML.
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

QByteArray rtfEscaped(const QString& text)
{
    QByteArray out;
    out.reserve(text.size() * 10);
    for (QChar c : text) {
        if (c == QLatin1Char('\n'))
            out += "{\\par}";
        else if (c == QLatin1Char('\r'))
            continue;
        else
            out += "\\u" + QByteArray::number(std::int16_t(c.unicode())) + "\\'3f";
    }
    return out;
}

// ----- the tree's exports ------------------------------------------------------------------

namespace {

// A canvas that draws nothing: it only keeps the font a text handler chose and whether it
// chose one.
class ExportCanvas final : public ICanvas {
public:
    void fillRect(const TRect&, TColor) override {}
    void frameRect(const TRect&, TColor) override {}
    void line(int, int, int, int, TColor, int) override {}
    void text(const TRect&, const QString&, int, TColor) override {}
    void setFont(const QFont& font) override
    {
        m_font = font;
        m_changed = true;
    }
    void pushClip(const TRect&) override {}
    void popClip() override {}
    TColor toRGB(TColor c) const override { return colorToRGB(c); }

    // The tree's font, the change flag cleared.
    void reset(const QFont& font)
    {
        m_font = font;
        m_changed = false;
    }
    const QFont& font() const { return m_font; }
    bool changed() const { return m_changed; }

private:
    QFont m_font;
    bool m_changed = false;
};

TAlignment mirrored(TAlignment a, bool rtl)
{
    if (!rtl)
        return a;
    switch (a) {
    case taLeftJustify: return taRightJustify;
    case taRightJustify: return taLeftJustify;
    case taCenter: break;
    }
    return a;
}

QString htmlAlign(TAlignment a)
{
    switch (a) {
    case taRightJustify: return QStringLiteral(" align=right");
    case taCenter: return QStringLiteral(" align=center");
    case taLeftJustify: break;
    }
    return QStringLiteral(" align=left");
}

QString colorAsHex(const QColor& c)
{
    return QStringLiteral("#%1%2%3")
        .arg(c.red(), 2, 16, QLatin1Char('0'))
        .arg(c.green(), 2, 16, QLatin1Char('0'))
        .arg(c.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

// Halves to the even neighbour, as the page and twip arithmetic wants.
long roundEven(double v) { return std::lrint(v); }

}  // namespace

void TCustomLazyStringTree::exportTexts(PLazyNode node, TColumnIndex column, TLTExportType type,
                                        QString& cellText, QString& staticText)
{
    const TLTExportType outer = m_textExportType;
    m_textExportType = type;
    ScopeGuard restore([&] { m_textExportType = outer; });
    cellText.clear();
    staticText.clear();
    DoGetText(node, column, cellText, staticText);
}

bool TCustomLazyStringTree::passesExportFilter(PLazyNode node)
{
    switch (ExportMode()) {
    case emAll: return true;
    case emChecked: return node->CheckState == csCheckedNormal;
    case emUnchecked: return node->CheckState == csUncheckedNormal;
    case emVisibleDueToExpansion:
        return node->Parent == RootNode() || node->Parent->has(vsExpanded);
    case emSelected: return node->has(vsSelected);
    }
    return true;
}

PLazyNode TCustomLazyStringTree::firstExportNode(TVSTTextSourceType source)
{
    switch (source) {
    case tstAll: return GetFirst();
    case tstInitialized: return GetFirstInitialized();
    case tstSelected: return GetFirstSelected();
    case tstCutCopySet: return GetFirstCutCopy();
    case tstVisible: return GetFirstVisible(nullptr, true);
    case tstChecked: return GetFirstChecked(csCheckedNormal);
    }
    return nullptr;
}

PLazyNode TCustomLazyStringTree::nextExportNode(PLazyNode node, TVSTTextSourceType source)
{
    if (OperationCanceled())
        return nullptr;
    switch (source) {
    case tstAll: return GetNext(node);
    case tstInitialized: return GetNextInitialized(node);
    case tstSelected: return GetNextSelected(node);
    case tstCutCopySet: return GetNextCutCopy(node);
    case tstVisible: return GetNextVisible(node, false);
    case tstChecked: return GetNextChecked(node, csCheckedNormal);
    }
    return nullptr;
}

TLTExportColumns TCustomLazyStringTree::exportColumns()
{
    TLTExportColumns out;
    const TLTHeader& header = Header();
    TLazyTreeColumns& columns = header.Columns();
    if (!header.UseColumns()) {
        // Without header columns every export sees the one implicit column.
        out.HeaderFont = font();
        TLTExportColumn implicit;
        implicit.Index = NoColumn;
        implicit.Width = clientWidth();
        implicit.Alignment = Alignment();
        implicit.CaptionAlignment = Alignment();
        implicit.RightToLeft = UseRightToLeftReading();
        out.Visible.push_back(implicit);
        out.All.push_back(implicit);
        return out;
    }
    auto describe = [&](TColumnIndex index) {
        const TLazyTreeColumn& c = columns[index];
        TLTExportColumn e;
        e.Index = index;
        e.Text = c.Text();
        e.Width = c.Width();
        e.Alignment = c.Alignment();
        e.CaptionAlignment = c.CaptionAlignment();
        e.RightToLeft = c.UseRightToLeftReading();
        e.ParentColor = c.Options().contains(coParentColor);
        e.Color = c.Color();
        return e;
    };
    out.UseColumns = true;
    out.HeaderVisible = header.Options().contains(hoVisible);
    out.MainColumn = header.MainColumn();
    out.HeaderHeight = header.Height();
    out.HeaderFont = header.Font();
    for (const TLazyTreeColumn* c : columns.GetVisibleColumns())
        out.Visible.push_back(describe(TColumnIndex(c->Index())));
    for (TColumnIndex i = 0; i < columns.Count(); ++i)
        out.All.push_back(describe(i));
    return out;
}

namespace {

// The operation bracket every export runs in, so that CancelOperation can stop it.
template <class Tree>
auto exportOperation(Tree& tree)
{
    tree.BeginOperation(okExport);
    return [&tree] { tree.EndOperation(okExport); };
}

}  // namespace

QString TCustomLazyStringTree::ContentToHTML(TVSTTextSourceType source, const QString& caption)
{
    ScopeGuard endOperation(exportOperation(*this));
    const TLTExportColumns cols = exportColumns();
    const QColor textColor = NodeFontColor();
    TBufferedString buffer;

    auto writeStyle = [&](const QString& name, const QFont& f) {
        const bool attribute = name.isEmpty();
        buffer.Add(attribute ? QStringLiteral(" style=\"{") : QLatin1Char('.') + name + '{');
        const QString family = attribute ? htmlEscaped(f.family()) : f.family();
        buffer.Add(QStringLiteral("font-family: '%1'; ").arg(family));
        if (f.pointSize() > 0)
            buffer.Add(QStringLiteral("font-size: %1pt; ").arg(f.pointSize()));
        else
            buffer.Add(QStringLiteral("font-size: %1px; ").arg(f.pixelSize()));
        buffer.Add(QStringLiteral("font-style: %1; ")
                       .arg(f.italic() ? QLatin1String("italic") : QLatin1String("normal")));
        buffer.Add(QStringLiteral("font-weight: %1; ")
                       .arg(f.bold() ? QLatin1String("bold") : QLatin1String("normal")));
        buffer.Add(QStringLiteral("text-decoration: %1; ")
                       .arg(f.underline() ? QLatin1String("underline") : QLatin1String("none")));
        buffer.Add(QStringLiteral("color: ") + colorAsHex(textColor) + QStringLiteral(";}"));
        if (attribute)
            buffer.Add(QStringLiteral("\""));
    };

    const QString padding =
        QStringLiteral("padding-left: %1px; padding-right: %1px;").arg(Margin());
    QString tableAttributes = QStringLiteral(" ");
    if (!caption.isEmpty())
        tableAttributes += QStringLiteral("caption=\"") + htmlEscaped(caption) + '"';
    // The tree's frame is one pixel wide (a border width of 0 beyond it).
    if (BorderStyle() != bsNone)
        tableAttributes += QStringLiteral(" border=\"%1\" frame=box").arg(0 + 1);

    buffer.Add(u"<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">");
    buffer.Add(u"<style type=\"text/css\">");
    buffer.AddNewLine();
    writeStyle(QStringLiteral("default"), font());
    buffer.AddNewLine();
    writeStyle(QStringLiteral("header"), cols.HeaderFont);
    buffer.AddNewLine();

    const TLTPaintOptions paint = options().PaintOptions;
    const bool horz = paint.contains(toShowHorzGridLines);
    const bool vert = paint.contains(toShowVertGridLines);
    const QString lineWord = LineStyle() == lsSolid ? QStringLiteral("solid;")
                                                    : QStringLiteral("dotted;");
    if (horz)
        buffer.Add(QStringLiteral(".noborder{ border-bottom:1px; border-left: 0px; border-right: "
                                  "0px; border-top: 1px;border-style:")
                   + lineWord);
    else
        buffer.Add(u".noborder{border-style: none;");
    buffer.Add(padding);
    buffer.Add(u"}");
    buffer.AddNewLine();
    buffer.Add(u".normalborder {vertical-align: top; ");
    buffer.Add(vert ? QStringLiteral("border-right: 1px; border-left: 1px; ")
                    : QStringLiteral("border-right: none; border-left:none; "));
    buffer.Add(horz ? QStringLiteral("border-top: 1px; border-bottom: 1px; ")
                    : QStringLiteral("border-top:none; border-bottom: none;"));
    buffer.Add(u"border-width: thin; border-style: ");
    buffer.Add(lineWord);
    buffer.Add(padding);
    buffer.Add(u"}");
    buffer.Add(u"</style>");
    buffer.AddNewLine();
    buffer.Add(
        QStringLiteral("<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=")
        + colorAsHex(BackGroundColor()) + tableAttributes + QStringLiteral(" cellspacing=\"0\">"));
    buffer.AddNewLine();

    std::uint32_t maxLevel = 0;
    for (PLazyNode n = firstExportNode(source); n; n = nextExportNode(n, source))
        if (passesExportFilter(n))
            maxLevel = std::max(maxLevel, GetNodeLevel(n));

    const QString buttonFace = colorAsHex(palette().color(QPalette::Button));
    if (cols.UseColumns) {
        if (OnBeforeHeaderExport)
            OnBeforeHeaderExport(*this, etHTML);
        buffer.Add(QStringLiteral("<tr class=\"header\" style=\"") + padding
                   + QStringLiteral("\">"));
        buffer.AddNewLine();
        for (const TLTExportColumn& c : cols.Visible) {
            if (OnBeforeColumnExport)
                OnBeforeColumnExport(*this, etHTML, c.Index);
            buffer.Add(QStringLiteral("<th height=\"%1px\"").arg(cols.HeaderHeight));
            if (c.RightToLeft)
                buffer.Add(u" dir=\"rtl\"");
            buffer.Add(htmlAlign(mirrored(c.CaptionAlignment, c.RightToLeft)));
            if (maxLevel > 0 && c.Index == cols.MainColumn)
                buffer.Add(QStringLiteral(" colspan=\"%1\"").arg(maxLevel + 1));
            buffer.Add(QStringLiteral(" bgcolor=") + buttonFace
                       + QStringLiteral(" width=\"%1px\">").arg(c.Width));
            buffer.Add(htmlEscaped(c.Text));
            buffer.Add(u"</th>");
            if (OnAfterColumnExport)
                OnAfterColumnExport(*this, etHTML, c.Index);
        }
        buffer.Add(u"</tr>");
        buffer.AddNewLine();
        if (OnAfterHeaderExport)
            OnAfterHeaderExport(*this, etHTML);
    }

    ExportCanvas canvas;
    QString cellText;
    QString staticText;
    const bool showStatic = FStringOptions.contains(toShowStaticText);
    // What stays the same from row to row is formatted once.
    const QFont treeFont = font();
    const QString indentText = QString::number(Indent());
    QString heightText;
    int lastHeight = -1;
    std::vector<QString> columnColors;
    std::vector<QString> alignments;
    for (const TLTExportColumn& c : cols.Visible) {
        columnColors.push_back(colorAsHex(toQColor(c.Color, palette())));
        alignments.push_back(htmlAlign(mirrored(c.Alignment, c.RightToLeft)));
    }
    for (PLazyNode node = firstExportNode(source); node; node = nextExportNode(node, source)) {
        if (!passesExportFilter(node))
            continue;
        if (OnBeforeNodeExport && !OnBeforeNodeExport(*this, etHTML, node))
            continue;
        const std::uint32_t level = GetNodeLevel(node);
        const int height = int(GetNodeHeight(node));
        buffer.Add(u" <tr class=\"default\">");
        buffer.AddNewLine();
        if (height != lastHeight) {
            heightText = QString::number(height);
            lastHeight = height;
        }
        for (std::size_t ci = 0; ci < cols.Visible.size(); ++ci) {
            const TLTExportColumn& c = cols.Visible[ci];
            canvas.reset(treeFont);
            DoPaintText(node, canvas, c.Index, ttNormal);
            const bool main = c.Index == cols.MainColumn;
            const QString& columnColor = columnColors[ci];
            if (main) {
                for (std::uint32_t i = 0; i < level; ++i) {
                    if (!cols.UseColumns || c.ParentColor) {
                        if (i == 0) {
                            buffer.Add(u" <td height=\"");
                            buffer.Add(heightText);
                            buffer.Add(u"px\" class=\"normalborder\">&nbsp;</td>");
                        } else {
                            buffer.Add(u" <td>&nbsp;</td>");
                        }
                    } else {
                        buffer.Add(u"<td class=\"noborder\" width=\"");
                        buffer.Add(indentText);
                        buffer.Add(u"\" height=\"");
                        buffer.Add(heightText);
                        buffer.Add(u"px\" bgcolor=");
                        buffer.Add(columnColor);
                        buffer.Add(u">&nbsp;</td>");
                    }
                }
            }
            if (canvas.changed()) {
                buffer.Add(u" <td class=\"normalborder\" ");
                writeStyle(QString(), canvas.font());
                buffer.Add(u" height=\"");
            } else {
                buffer.Add(u" <td class=\"normalborder\"  height=\"");
            }
            buffer.Add(heightText);
            buffer.Add(u"px\"");
            if (c.RightToLeft)
                buffer.Add(u" dir=\"rtl\"");
            buffer.Add(alignments[ci]);
            if (main && maxLevel > 0 && level < maxLevel) {
                buffer.Add(u" colspan=\"");
                buffer.Add(QString::number(maxLevel - level + 1));
                buffer.Add(u"\"");
            }
            if (cols.UseColumns && !c.ParentColor) {
                buffer.Add(u" bgcolor=");
                buffer.Add(columnColor);
            }
            buffer.Add(u">");
            exportTexts(node, c.Index, etHTML, cellText, staticText);
            buffer.Add(htmlEscaped(cellText));
            if (!staticText.isEmpty() && showStatic)
                buffer.Add(QLatin1Char(' ') + htmlEscaped(staticText));
            buffer.Add(u"</td>");
        }
        if (OnAfterNodeExport)
            OnAfterNodeExport(*this, etHTML, node);
        buffer.Add(u" </tr>");
        buffer.AddNewLine();
    }
    buffer.Add(u"</table>");
    return buffer.AsString();
}

QByteArray TCustomLazyStringTree::ContentToRTF(TVSTTextSourceType source)
{
    ScopeGuard endOperation(exportOperation(*this));
    const TLTExportColumns cols = exportColumns();
    TBufferedRawByteString body;
    QStringList fonts;
    std::vector<QColor> colors;
    int currentFont = -1;
    int currentColor = -1;
    int currentSize = -1;
    const int dpi = std::max(1, logicalDpiX());
    const QColor textColor = NodeFontColor();

    auto pointSize = [dpi](const QFont& f) {
        if (f.pointSize() > 0)
            return f.pointSize();
        return int(roundEven(f.pixelSize() * 72.0 / dpi));
    };
    auto writeText = [&](const QString& text, const QFont& f) {
        if (text.isEmpty())
            return;
        if (f.underline())
            body.Add("\\ul");
        if (f.italic())
            body.Add("\\i");
        if (f.bold())
            body.Add("\\b");
        int index = -1;
        for (int i = 0; i < fonts.size(); ++i)
            if (QString::compare(fonts[i], f.family(), Qt::CaseInsensitive) == 0)
                index = i;
        if (index < 0) {
            fonts << f.family();
            currentFont = int(fonts.size()) - 1;
            body.Add("\\f" + QByteArray::number(currentFont));
        } else if (index != currentFont) {
            currentFont = index;
            body.Add("\\f" + QByteArray::number(currentFont));
        }
        auto colorIt = std::find(colors.begin(), colors.end(), textColor);
        const int colorIndex = int(colorIt - colors.begin());
        if (colorIt == colors.end())
            colors.push_back(textColor);
        if (colorIndex != currentColor) {
            currentColor = colorIndex;
            body.Add("\\cf" + QByteArray::number(currentColor + 1));
        }
        const int size = pointSize(f);
        if (size != currentSize) {
            currentSize = size;
            body.Add("\\fs" + QByteArray::number(2 * size));
        }
        body.Add(" ");
        body.Add(rtfEscaped(text));
        if (f.underline())
            body.Add("\\ul0");
        if (f.italic())
            body.Add("\\i0");
        if (f.bold())
            body.Add("\\b0");
    };
    auto twips = [dpi](long pixels) {
        return QByteArray::number(qint64(roundEven(pixels * 1440.0 / dpi)));
    };

    body.Add("\\uc1\\trowd\\trgaph70");
    if (cols.UseColumns) {
        long right = 0;
        for (const TLTExportColumn& c : cols.Visible) {
            right += c.Width;
            body.Add("\\cellx" + twips(right));
        }
    } else {
        body.Add("\\cellx" + twips(clientWidth()));
    }

    auto rtfAlign = [](TAlignment a) -> const char* {
        switch (a) {
        case taRightJustify: return "\\qr";
        case taCenter: return "\\qc";
        case taLeftJustify: break;
        }
        return "\\ql";
    };
    if (cols.UseColumns) {
        if (OnBeforeHeaderExport)
            OnBeforeHeaderExport(*this, etRTF);
        body.Add("\\pard\\intbl");
        for (const TLTExportColumn& c : cols.Visible) {
            if (OnBeforeColumnExport)
                OnBeforeColumnExport(*this, etRTF, c.Index);
            body.Add(rtfAlign(mirrored(c.CaptionAlignment, c.RightToLeft)));
            writeText(c.Text, cols.HeaderFont);
            body.Add("\\cell");
            if (OnAfterColumnExport)
                OnAfterColumnExport(*this, etRTF, c.Index);
        }
        body.Add("\\row");
        if (OnAfterHeaderExport)
            OnAfterHeaderExport(*this, etRTF);
    }

    ExportCanvas canvas;
    QString cellText;
    QString staticText;
    QByteArray tabs;
    std::uint32_t tabsLevel = 0;
    const bool showStatic = FStringOptions.contains(toShowStaticText);
    for (PLazyNode node = firstExportNode(source); node; node = nextExportNode(node, source)) {
        if (!passesExportFilter(node))
            continue;
        if (OnBeforeNodeExport && !OnBeforeNodeExport(*this, etRTF, node))
            continue;
        const std::uint32_t level = GetNodeLevel(node);
        for (const TLTExportColumn& c : cols.Visible) {
            exportTexts(node, c.Index, etRTF, cellText, staticText);
            body.Add("\\pard\\intbl");
            const TAlignment a = mirrored(c.Alignment, c.RightToLeft);
            if (a != taLeftJustify)
                body.Add(rtfAlign(a));
            canvas.reset(font());
            DoPaintText(node, canvas, c.Index, ttNormal);
            if (c.Index == cols.MainColumn && level >= 1) {
                if (level != tabsLevel) {
                    tabs = QByteArray("\\tab").repeated(qsizetype(level)) + ' ';
                    tabsLevel = level;
                }
                body.Add(tabs);
            }
            writeText(cellText, canvas.font());
            if (!staticText.isEmpty() && showStatic) {
                DoPaintText(node, canvas, c.Index, ttStatic);
                body.Add(" ");
                writeText(staticText, canvas.font());
            }
            body.Add("\\cell");
        }
        body.Add("\\row");
        body.AddNewLine();
        if (OnAfterNodeExport)
            OnAfterNodeExport(*this, etRTF, node);
    }
    body.Add("\\pard\\par");

    TBufferedRawByteString out;
    out.Add("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl");
    for (int i = 0; i < fonts.size(); ++i) {
        // A font name is written as ASCII with the group characters escaped, so that no name
        // can end the table early.
        QByteArray name;
        for (QChar ch : fonts[i]) {
            if (ch == '\\' || ch == '{' || ch == '}')
                name += '\\';
            name += ch.unicode() < 0x80 && ch.unicode() >= 0x20 ? char(ch.unicode()) : '?';
        }
        out.Add("{\\f" + QByteArray::number(i) + ' ' + name + ";}");
    }
    out.Add("}{\\colortbl;");
    for (const QColor& c : colors)
        out.Add("\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green())
                + "\\blue" + QByteArray::number(c.blue()) + ';');
    out.Add("}");
    out.Add(rtfPaperSize(locale().measurementSystem()));
    out.Add("\\margl720\\margr720\\margt720\\margb720");
    out.Add(body.AsString());
    out.Add("}");
    return out.AsString();
}

QString TCustomLazyStringTree::ContentToText(TVSTTextSourceType source, const QString& separator)
{
    ScopeGuard endOperation(exportOperation(*this));
    const TLTExportColumns cols = exportColumns();
    TBufferedString buffer;

    std::uint32_t maxLevel = 0;
    for (PLazyNode n = firstExportNode(source); n; n = nextExportNode(n, source))
        maxLevel = std::max(maxLevel, GetNodeLevel(n));
    const QString indent = separator.repeated(qsizetype(maxLevel));
    const qsizetype step = separator.size();
    const bool showStatic = FStringOptions.contains(toShowStaticText);

    if (cols.UseColumns) {
        for (std::size_t i = 0; i < cols.Visible.size(); ++i) {
            const TLTExportColumn& c = cols.Visible[i];
            buffer.Add(quotedExportValue(c.Text, separator));
            if (i + 1 < cols.Visible.size()) {
                if (c.Index == cols.MainColumn)
                    buffer.Add(indent);
                buffer.Add(separator);
            }
        }
        buffer.AddNewLine();
    }

    QString cellText;
    QString staticText;
    for (PLazyNode node = firstExportNode(source); node; node = nextExportNode(node, source)) {
        const qsizetype level = qsizetype(GetNodeLevel(node));
        if (!cols.UseColumns) {
            exportTexts(node, NoColumn, etText, cellText, staticText);
            buffer.Add(QStringView(indent).left(level * step));
            buffer.Add(quotedExportValue(cellText, separator));
            buffer.AddNewLine();
            continue;
        }
        for (std::size_t i = 0; i < cols.Visible.size(); ++i) {
            const TLTExportColumn& c = cols.Visible[i];
            const bool main = c.Index == cols.MainColumn;
            exportTexts(node, c.Index, etText, cellText, staticText);
            if (main)
                buffer.Add(QStringView(indent).left(level * step));
            QString value = cellText;
            if (!staticText.isEmpty() && showStatic)
                value += QLatin1Char(' ') + staticText;
            buffer.Add(quotedExportValue(value, separator));
            if (main)
                buffer.Add(QStringView(indent).left((qsizetype(maxLevel) - level) * step));
            if (i + 1 < cols.Visible.size())
                buffer.Add(separator);
        }
        buffer.AddNewLine();
    }
    return buffer.AsString();
}

void TCustomLazyStringTree::ContentToCustom(TVSTTextSourceType source)
{
    ScopeGuard endOperation(exportOperation(*this));
    const TLTExportColumns cols = exportColumns();
    if (OnBeforeTreeExport)
        OnBeforeTreeExport(*this, etCustom);
    if (cols.UseColumns && cols.HeaderVisible) {
        if (OnBeforeHeaderExport)
            OnBeforeHeaderExport(*this, etCustom);
        for (const TLTExportColumn& c : cols.Visible) {
            if (OnBeforeColumnExport)
                OnBeforeColumnExport(*this, etCustom, c.Index);
            if (OnColumnExport)
                OnColumnExport(*this, etCustom, c.Index);
            if (OnAfterColumnExport)
                OnAfterColumnExport(*this, etCustom, c.Index);
        }
        if (OnAfterHeaderExport)
            OnAfterHeaderExport(*this, etCustom);
    }
    for (PLazyNode node = firstExportNode(source); node; node = nextExportNode(node, source)) {
        if (!passesExportFilter(node))
            continue;
        if (OnBeforeNodeExport)
            OnBeforeNodeExport(*this, etCustom, node);
        if (OnNodeExport)
            OnNodeExport(*this, etCustom, node);
        if (OnAfterNodeExport)
            OnAfterNodeExport(*this, etCustom, node);
    }
    if (OnAfterTreeExport)
        OnAfterTreeExport(*this, etCustom);
}

namespace {

using ClipboardRenderer = QByteArray (*)(TCustomLazyStringTree&, TVSTTextSourceType);

struct ClipboardTextFormat {
    const char* name;  // as registered
    ClipboardRenderer render;
};

QByteArray utf16Bytes(const QString& s)
{
    return QByteArray(reinterpret_cast<const char*>(s.utf16()), s.size() * 2);
}

// The text formats by registered name. Text that other programs read as 8-bit text is UTF-8
// here: no character is lost on the way. HTML goes as the document itself, as clipboards of
// this platform carry it; WrapClipboardHtml makes the wrapped form where one is wanted.
const std::array<ClipboardTextFormat, 6> kClipboardTextFormats{{
    {"Plain text",
     [](TCustomLazyStringTree& t, TVSTTextSourceType s) {
         return t.ContentToText(s, QStringLiteral("\t")).toUtf8();
     }},
    {"Unicode text",
     [](TCustomLazyStringTree& t, TVSTTextSourceType s) {
         return utf16Bytes(t.ContentToUnicode(s, QLatin1Char('\t')));
     }},
    {"CSV",
     [](TCustomLazyStringTree& t, TVSTTextSourceType s) {
         return t.ContentToText(s, QString(listSeparator(t.locale()))).toUtf8();
     }},
    {"Rich Text Format",
     [](TCustomLazyStringTree& t, TVSTTextSourceType s) { return t.ContentToRTF(s); }},
    {"Rich Text Format Without Objects",
     [](TCustomLazyStringTree& t, TVSTTextSourceType s) { return t.ContentToRTF(s); }},
    {"HTML Format",
     [](TCustomLazyStringTree& t, TVSTTextSourceType s) { return t.ContentToHTML(s).toUtf8(); }},
}};

// Which format renders a MIME type of the clipboard; both text formats travel as text/plain,
// which receivers read as UTF-8.
struct MimeFormat {
    const char* mime;
    const char* format;
};
const std::array<MimeFormat, 4> kMimeFormats{{{"text/plain", "Plain text"},
                                              {"text/csv", "CSV"},
                                              {"text/rtf", "Rich Text Format"},
                                              {"text/html", "HTML Format"}}};

}  // namespace

QByteArray TCustomLazyStringTree::ContentToClipboard(const QString& format,
                                                     TVSTTextSourceType source)
{
    for (const ClipboardTextFormat& f : kClipboardTextFormats)
        if (QString::compare(format, QLatin1String(f.name), Qt::CaseInsensitive) == 0)
            return f.render(*this, source);
    return {};
}

QByteArray TCustomLazyStringTree::RenderOLEData(const QString& mimeType, bool forClipboard)
{
    QByteArray data = TBaseLazyTree::RenderOLEData(mimeType, forClipboard);
    if (!data.isEmpty())
        return data;
    for (const MimeFormat& m : kMimeFormats)
        if (mimeType == QLatin1String(m.mime))
            return ContentToClipboard(QLatin1String(m.format),
                                      forClipboard ? tstCutCopySet : tstSelected);
    return {};
}

bool TCustomLazyStringTree::SaveToCSVFile(const QString& fileNameWithPath, bool includeHeading,
                                          QString* error)
{
    if (fileNameWithPath.isEmpty())
        return false;
    const TLTExportColumns cols = exportColumns();
    auto quoted = [](QString s) {
        s.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + s + QLatin1Char('"');
    };
    TBufferedString buffer;
    if (includeHeading) {
        QStringList heading;
        for (const TLTExportColumn& c : cols.All)
            heading << quoted(c.Text);
        buffer.Add(heading.join(QLatin1Char(',')));
        buffer.AddNewLine();
    }
    // Only top-level nodes are written. Without header columns the tree's one text is the
    // file's one column; every line used to come out empty, losing all the content.
    for (PLazyNode node = GetFirstChild(RootNode()); node; node = GetNextSibling(node)) {
        QStringList line;
        for (const TLTExportColumn& c : cols.All) {
            QString text = GetText(node, c.Index);
            if (text.isEmpty())
                text = QStringLiteral(" ");
            line << quoted(text);
        }
        buffer.Add(line.join(QLatin1Char(',')));
        buffer.AddNewLine();
    }
    // Written whole through a temporary file, in UTF-8: a failed write keeps the old file, and
    // no character is lost to an 8-bit code page.
    QSaveFile file(fileNameWithPath);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = buffer.AsString().toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace zfw
