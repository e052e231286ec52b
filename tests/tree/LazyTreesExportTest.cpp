// Exports of the string tree: exact HTML, RTF and text of small trees, values that need
// escaping or quoting read back equal, the export filter, cancelling, the CSV file, the
// clipboard's text formats and the locale's separator and paper.

#include "tree/LazyTreesClipboard.h"
#include "tree/LazyTreesExport.h"
#include "tree/LazyTreesString.h"

#include "support/CaseName.h"
#include "support/FakeClipboard.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zfw::test {
namespace {

// A string tree whose exports see two header columns: "Name" (the main column, shown first)
// and "Value"; a third column "Hidden" exists but is not shown.
class ColumnTree : public TLazyStringTree {
private:
    TLTExportColumns exportColumns() override
    {
        TLTExportColumns out;
        out.UseColumns = true;
        out.HeaderVisible = true;
        out.MainColumn = 0;
        out.HeaderHeight = 20;
        out.HeaderFont = font();
        TLTExportColumn name{0, QStringLiteral("Name"), 100};
        TLTExportColumn value{1, QStringLiteral("Value"), 60};
        TLTExportColumn hidden{2, QStringLiteral("Hidden"), 40};
        out.Visible = {name, value};
        out.All = {name, value, hidden};
        return out;
    }
};

// Texts by node and column; a node without an entry gets "?".
template <class Tree>
struct Fixture {
    std::unique_ptr<Tree> tree = std::make_unique<Tree>();
    std::map<std::pair<PLazyNode, TColumnIndex>, QString> texts;

    Fixture()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetSelectionOptions(tree->options().SelectionOptions
                                  + TLTSelectionOptions{toMultiSelect});
        tree->setFont(QFont(QStringLiteral("Sans"), 9));
        QPalette p = tree->palette();
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
        p.setColor(QPalette::Button, QColor(0xEF, 0xEF, 0xEF));
        tree->setPalette(p);
        tree->setLocale(QLocale(QLocale::German, QLocale::Germany));
        tree->resize(300, 200);
        tree->OnGetText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex c, TVSTTextType type,
                                 QString& text) {
            if (type != ttNormal)
                return;
            auto it = texts.find({n, c});
            text = it == texts.end() ? QStringLiteral("?") : it->second;
        };
    }
    PLazyNode add(PLazyNode parent, const QString& main, const QString& value = QString())
    {
        PLazyNode n = tree->AddChild(parent);
        texts[{n, 0}] = main;
        texts[{n, NoColumn}] = main;
        texts[{n, 1}] = value;
        return n;
    }
};

// "A<&>" with the child "b,1", which has the child c"q; then "é" and a clef above U+FFFF.
template <class Tree>
std::vector<PLazyNode> fillThreeLevels(Fixture<Tree>& f)
{
    PLazyNode a = f.add(nullptr, QStringLiteral("A<&>"), QStringLiteral("1"));
    PLazyNode b = f.add(a, QStringLiteral("b,1"), QStringLiteral("x\"y"));
    PLazyNode c = f.add(b, QStringLiteral("c\"q"), QStringLiteral("line\r\nbreak"));
    PLazyNode d = f.add(nullptr, QString::fromUtf8("\xC3\xA9\xF0\x9D\x84\x9E"),
                        QStringLiteral("3"));
    return {a, b, c, d};
}

TEST(TreeExportText, WithoutColumnsIndentsByLevelAndQuotesWhatNeedsIt)
{
    Fixture<TLazyStringTree> f;
    fillThreeLevels(f);
    const QString clef = QString::fromUtf8("\xC3\xA9\xF0\x9D\x84\x9E");
    EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral("\t")),
              "A<&>\r\n\tb,1\r\n\t\t\"c\"\"q\"\r\n" + clef + "\r\n");
    EXPECT_EQ(f.tree->ContentToText(tstAll, QLatin1Char(',')),
              "A<&>\r\n,\"b,1\"\r\n,,\"c\"\"q\"\r\n" + clef + "\r\n");
    EXPECT_EQ(f.tree->ContentToUnicode(tstAll, QLatin1Char(',')),
              f.tree->ContentToText(tstAll, QStringLiteral(",")));
}

TEST(TreeExportText, WithColumnsPadsTheMainColumnToTheDeepestLevel)
{
    Fixture<ColumnTree> f;
    fillThreeLevels(f);
    const QString clef = QString::fromUtf8("\xC3\xA9\xF0\x9D\x84\x9E");
    // Level 0 is padded by two separators, level 2 indented by two.
    EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral(";")),
              "Name;;;Value\r\n"
              "A<&>;;;1\r\n"
              ";b,1;;\"x\"\"y\"\r\n"
              ";;\"c\"\"q\";\"line\r\nbreak\"\r\n"
                  + clef + ";;;3\r\n");
}

// A tree with real header columns exports what the stand-in above describes: the visible
// columns in display order, their captions as the header row, the hidden one left out.
TEST(TreeExportText, RealHeaderColumnsExportLikeTheirDescription)
{
    Fixture<TLazyStringTree> real;
    TLTHeader& header = real.tree->Header();
    header.Columns().Add().SetText(QStringLiteral("Name"));
    header.Columns().Add().SetText(QStringLiteral("Value"));
    TLazyTreeColumn& hidden = header.Columns().Add();
    hidden.SetText(QStringLiteral("Hidden"));
    hidden.SetOptions(hidden.Options() - TLTColumnOptions{coVisible});
    header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
    header.SetMainColumn(0);
    fillThreeLevels(real);
    Fixture<ColumnTree> described;
    fillThreeLevels(described);
    EXPECT_EQ(real.tree->ContentToText(tstAll, QStringLiteral(";")),
              described.tree->ContentToText(tstAll, QStringLiteral(";")));
}

// A minimal RFC 4180 reader: records of fields, quotes doubled inside quoted fields.
std::vector<std::vector<QString>> readCsv(const QString& text, QChar separator)
{
    std::vector<std::vector<QString>> rows(1, std::vector<QString>(1));
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                rows.back().back() += c;
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                rows.back().back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == separator) {
            rows.back().emplace_back();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.emplace_back(1);
            ++i;
        } else {
            rows.back().back() += c;
        }
    }
    if (rows.back().size() == 1 && rows.back()[0].isEmpty())
        rows.pop_back();
    return rows;
}

TEST(TreeExportText, CsvOfAwkwardValuesReadsBackEqual)
{
    Fixture<ColumnTree> f;
    const std::vector<QString> values{QStringLiteral("semi;colon"), QStringLiteral("quote\"d"),
                                      QStringLiteral("cr\rlf\n"), QStringLiteral("<&>"),
                                      QString::fromUtf8("\xF0\x9F\x98\x80 smile")};
    for (const QString& v : values)
        f.add(nullptr, QStringLiteral("n"), v);
    const QChar sep = listSeparator(f.tree->locale());
    ASSERT_EQ(sep, ';');
    const auto rows = readCsv(f.tree->ContentToText(tstAll, QString(sep)), sep);
    ASSERT_EQ(rows.size(), values.size() + 1);
    for (std::size_t i = 0; i < values.size(); ++i) {
        ASSERT_EQ(rows[i + 1].size(), 2u);
        EXPECT_EQ(rows[i + 1][1], values[i]) << i;
    }
}

TEST(TreeExportHtml, SmallTreeGivesTheExactDocument)
{
    Fixture<TLazyStringTree> f;
    PLazyNode a = f.add(nullptr, QStringLiteral("A<&>\"x\""));
    f.add(a, QStringLiteral("b"));
    const QString style = QStringLiteral(
        "{font-family: 'Sans'; font-size: 9pt; font-style: normal; font-weight: normal; "
        "text-decoration: none; color: #000000;}");
    const QString expected =
        QStringLiteral(
            "<META http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
            "<style type=\"text/css\">\r\n.default")
        + style + QStringLiteral("\r\n.header") + style
        + QStringLiteral(
            "\r\n.noborder{border-style: none;padding-left: 4px; padding-right: 4px;}\r\n"
            ".normalborder {vertical-align: top; border-right: none; border-left:none; "
            "border-top:none; border-bottom: none;border-width: thin; border-style: dotted;"
            "padding-left: 4px; padding-right: 4px;}</style>\r\n"
            "<table class=\"default\" style=\"border-collapse: collapse;\" bgcolor=#FFFFFF  "
            "border=\"1\" frame=box cellspacing=\"0\">\r\n"
            " <tr class=\"default\">\r\n"
            " <td class=\"normalborder\"  height=\"18px\" align=left colspan=\"2\">"
            "A&lt;&amp;&gt;&quot;x&quot;</td> </tr>\r\n"
            " <tr class=\"default\">\r\n"
            " <td height=\"18px\" class=\"normalborder\">&nbsp;</td>"
            " <td class=\"normalborder\"  height=\"18px\" align=left>b</td> </tr>\r\n"
            "</table>");
    EXPECT_EQ(f.tree->ContentToHTML(tstAll).toStdString(), expected.toStdString());
}

TEST(TreeExportHtml, AwkwardTextsAndCaptionReadBackEqual)
{
    Fixture<ColumnTree> f;
    const std::vector<QString> values{QStringLiteral("a < b && c > d"),
                                      QStringLiteral("say \"hi\""),
                                      QStringLiteral("</td></tr></table><b>injected</b>"),
                                      QString::fromUtf8("\xF0\x9D\x84\x9E clef")};
    for (const QString& v : values)
        f.add(nullptr, v, QStringLiteral("v"));
    QTextDocument doc;
    doc.setHtml(f.tree->ContentToHTML(tstAll, QStringLiteral("a \"caption\"")));
    const QString plain = doc.toPlainText();
    for (const QString& v : values)
        EXPECT_TRUE(plain.contains(v)) << v.toStdString() << " in " << plain.toStdString();
}

TEST(TreeExportRtf, EscapesEveryCharacterAndBuildsTheTables)
{
    Fixture<TLazyStringTree> f;
    PLazyNode a = f.add(nullptr, QString::fromUtf8("\xC3\xA9"));
    f.add(a, QStringLiteral("\\{}"));
    f.add(nullptr, QString::fromUtf8("\xF0\x9D\x84\x9E"));
    const QByteArray cellx = QByteArray::number(
        qint64(std::lrint(f.tree->viewport()->width() * 1440.0 / f.tree->logicalDpiX())));
    const QByteArray expected =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1043{\\fonttbl{\\f0 Sans;}}"
        "{\\colortbl;\\red0\\green0\\blue0;}\\paperw16840\\paperh11907"
        "\\margl720\\margr720\\margt720\\margb720"
        "\\uc1\\trowd\\trgaph70\\cellx"
        + cellx
        + "\\pard\\intbl\\f0\\cf1\\fs18 \\u233\\'3f\\cell\\row\r\n"
          "\\pard\\intbl\\tab  \\u92\\'3f\\u123\\'3f\\u125\\'3f\\cell\\row\r\n"
          "\\pard\\intbl \\u-10188\\'3f\\u-8930\\'3f\\cell\\row\r\n"
          "\\pard\\par}";
    EXPECT_EQ(f.tree->ContentToRTF(tstAll).toStdString(), expected.toStdString());
}

TEST(TreeExportRtf, FontChangesOfAHandlerAreWrittenAsControlWords)
{
    Fixture<TLazyStringTree> f;
    PLazyNode a = f.add(nullptr, QStringLiteral("a"));
    f.add(nullptr, QStringLiteral("b"));
    f.tree->OnPaintText = [a](TBaseLazyTree&, ICanvas& canvas, PLazyNode n, TColumnIndex,
                              TVSTTextType) {
        if (n != a)
            return;
        QFont bold(QStringLiteral("Serif"), 12);
        bold.setBold(true);
        canvas.setFont(bold);
    };
    const QByteArray rtf = f.tree->ContentToRTF(tstAll);
    EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0 Serif;}{\\f1 Sans;}}")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\b\\f0\\cf1\\fs24 \\u97\\'3f\\b0")) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains("\\f1\\fs18 \\u98\\'3f")) << rtf.toStdString();
}

TEST(TreeExport, FilterAppliesToHtmlRtfAndCustomButNotToText)
{
    Fixture<TLazyStringTree> f;
    PLazyNode one = f.add(nullptr, QStringLiteral("one"));
    PLazyNode two = f.add(nullptr, QStringLiteral("two"));
    f.tree->SetSelected(two, true);
    f.tree->SetExportMode(emSelected);
    const QString html = f.tree->ContentToHTML(tstAll);
    EXPECT_FALSE(html.contains(QStringLiteral(">one<")));
    EXPECT_TRUE(html.contains(QStringLiteral(">two<")));
    const QByteArray rtf = f.tree->ContentToRTF(tstAll);
    EXPECT_FALSE(rtf.contains("\\u111\\'3f\\u110\\'3f\\u101\\'3f"));
    EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral("\t")), "one\r\ntwo\r\n");
    std::vector<PLazyNode> custom;
    f.tree->OnNodeExport = [&](TBaseLazyTree&, TLTExportType type, PLazyNode n) {
        EXPECT_EQ(type, etCustom);
        custom.push_back(n);
        return true;
    };
    f.tree->ContentToCustom(tstAll);
    EXPECT_EQ(custom, std::vector<PLazyNode>{two});

    f.tree->SetExportMode(emAll);
    f.tree->OnBeforeNodeExport = [one](TBaseLazyTree&, TLTExportType, PLazyNode n) {
        return n != one;
    };
    EXPECT_FALSE(f.tree->ContentToHTML(tstAll).contains(QStringLiteral(">one<")));
    EXPECT_TRUE(f.tree->ContentToHTML(tstSelected).contains(QStringLiteral(">two<")));
}

TEST(TreeExport, TextHandlersSeeTheKindOfExport)
{
    Fixture<TLazyStringTree> f;
    f.add(nullptr, QStringLiteral("n"));
    std::vector<TLTExportType> seen;
    f.tree->OnGetCellText = [&](TCustomLazyStringTree&, TVSTGetCellTextEventArgs& e) {
        seen.push_back(e.ExportType);
        e.CellText = QStringLiteral("cell");
    };
    f.tree->ContentToHTML(tstAll);
    f.tree->ContentToRTF(tstAll);
    f.tree->ContentToText(tstAll, QStringLiteral(","));
    f.tree->GetText(f.tree->GetFirst(), NoColumn);
    EXPECT_EQ(seen, (std::vector<TLTExportType>{etHTML, etRTF, etText, etNone}));
}

TEST(TreeExport, CancelStopsTheWalkButClosesTheDocument)
{
    Fixture<TLazyStringTree> f;
    for (int i = 0; i < 5; ++i)
        f.add(nullptr, QStringLiteral("n%1").arg(i));
    PLazyNode second = f.tree->GetFirst()->NextSibling;
    f.tree->OnGetText = [&](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType,
                            QString& text) {
        text = f.texts[{n, NoColumn}];
        if (n == second)
            t.CancelOperation();
    };
    const QString html = f.tree->ContentToHTML(tstAll);
    EXPECT_TRUE(html.contains(QStringLiteral(">n1<")));
    EXPECT_FALSE(html.contains(QStringLiteral(">n2<")));
    EXPECT_TRUE(html.endsWith(QStringLiteral("</table>")));
    EXPECT_TRUE(f.tree->ContentToRTF(tstAll).endsWith("\\pard\\par}"));
    EXPECT_EQ(f.tree->ContentToText(tstAll, QStringLiteral("\t")), "n0\r\nn1\r\n");
    EXPECT_EQ(f.tree->OperationCount(), 0);
    // The next export starts afresh.
    f.tree->OnGetText = nullptr;
    f.tree->OnGetCellText = [&](TCustomLazyStringTree&, TVSTGetCellTextEventArgs& e) {
        e.CellText = f.texts[{e.Node, NoColumn}];
    };
    EXPECT_TRUE(f.tree->ContentToText(tstAll, QStringLiteral("\t")).contains(QStringLiteral("n4")));
}

TEST(TreeExportCsvFile, WritesTopLevelNodesOfAllColumnsAtomically)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("out.csv"));
    Fixture<ColumnTree> f;
    PLazyNode a = f.add(nullptr, QStringLiteral("a\"1"), QString());
    f.add(a, QStringLiteral("child"), QStringLiteral("c"));
    f.add(nullptr, QString::fromUtf8("\xC3\xA9"), QStringLiteral("x,y"));
    EXPECT_FALSE(f.tree->SaveToCSVFile(QString(), true));
    ASSERT_TRUE(f.tree->SaveToCSVFile(path, true));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              "\"Name\",\"Value\",\"Hidden\"\r\n"
              "\"a\"\"1\",\" \",\"?\"\r\n"
              "\"\xC3\xA9\",\"x,y\",\"?\"\r\n");
    file.close();

    // A file that cannot be written is reported and the old one stays.
    QString error;
    EXPECT_FALSE(
        f.tree->SaveToCSVFile(dir.filePath(QStringLiteral("no/such/dir.csv")), false, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TreeExportCsvFile, WithoutColumnsTheTreeTextIsTheOneColumn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("plain.csv"));
    Fixture<TLazyStringTree> f;
    PLazyNode a = f.add(nullptr, QStringLiteral("top"));
    f.add(a, QStringLiteral("child"));
    ASSERT_TRUE(f.tree->SaveToCSVFile(path, false));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\"top\"\r\n"));
}

TEST(TreeExportCustom, FiresTheEventsInOrder)
{
    Fixture<ColumnTree> f;
    PLazyNode n = f.add(nullptr, QStringLiteral("n"));
    std::vector<std::string> events;
    auto tree = [&](const char* name) {
        return [&events, name](TBaseLazyTree&, TLTExportType) { events.push_back(name); };
    };
    auto column = [&](const char* name) {
        return [&events, name](TBaseLazyTree&, TLTExportType, TColumnIndex c) {
            events.push_back(name + std::to_string(c));
        };
    };
    f.tree->OnBeforeTreeExport = tree("tree<");
    f.tree->OnAfterTreeExport = tree("tree>");
    f.tree->OnBeforeHeaderExport = tree("header<");
    f.tree->OnAfterHeaderExport = tree("header>");
    f.tree->OnBeforeColumnExport = column("col<");
    f.tree->OnColumnExport = column("col");
    f.tree->OnAfterColumnExport = column("col>");
    f.tree->OnBeforeNodeExport = [&](TBaseLazyTree&, TLTExportType, PLazyNode node) {
        EXPECT_EQ(node, n);
        events.push_back("node<");
        return false;  // not used by the custom export
    };
    f.tree->OnNodeExport = [&](TBaseLazyTree&, TLTExportType, PLazyNode) {
        events.push_back("node");
        return true;
    };
    f.tree->OnAfterNodeExport = [&](TBaseLazyTree&, TLTExportType, PLazyNode) {
        events.push_back("node>");
    };
    f.tree->ContentToCustom(tstAll);
    EXPECT_EQ(events, (std::vector<std::string>{"tree<", "header<", "col<0", "col0", "col>0",
                                                "col<1", "col1", "col>1", "header>", "node<",
                                                "node", "node>", "tree>"}));
}

TEST(TreeExportClipboard, CopyOffersTheTextFormatsAndRendersThemOnDemand)
{
    FakeClipboard clipboard;
    auto context = std::make_shared<TLTClipboardContext>(clipboard);
    Fixture<TLazyStringTree> f;
    f.tree->SetClipboardContext(context);
    f.tree->SetClipboardFormats({QStringLiteral("Lazy Tree Data"), QStringLiteral("HTML Format"),
                                 QStringLiteral("Rich Text Format"), QStringLiteral("CSV"),
                                 QStringLiteral("Plain text"), QStringLiteral("Unicode text")});
    PLazyNode a = f.add(nullptr, QStringLiteral("a;1"));
    f.add(a, QStringLiteral("b"));
    f.add(nullptr, QStringLiteral("not copied"));
    f.tree->SetSelected(a, true);
    f.tree->CopyToClipboard();
    const QMimeData* data = clipboard.mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->formats().mid(0, 5),
              (QStringList{kLazyTreeDataMime, "text/html", "text/rtf", "text/csv", "text/plain"}));
    // The cut/copy set is the selected node alone; its text in the locale's list separator.
    EXPECT_EQ(data->data("text/csv"), QByteArray("\"a;1\"\r\n"));
    EXPECT_EQ(data->text(), QStringLiteral("a;1\r\n"));
    EXPECT_TRUE(data->html().contains(QStringLiteral(">a;1</td>")));
    EXPECT_TRUE(data->data("text/rtf").startsWith("{\\rtf1"));

    const QByteArray unicode = f.tree->ContentToClipboard(QStringLiteral("unicode TEXT"), tstAll);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(unicode.constData()),
                                 unicode.size() / 2),
              QStringLiteral("a;1\r\n\tb\r\nnot copied\r\n"));
    EXPECT_TRUE(f.tree->ContentToClipboard(QStringLiteral("Windows bitmap"), tstAll).isEmpty());
}

TEST(TreeExportPure, ClipboardHtmlWrapperOffsetsCountBytes)
{
    const QByteArray fragment(1000, 'x');
    const QByteArray wrapped = WrapClipboardHtml(fragment);
    EXPECT_TRUE(
        wrapped.startsWith("Version:1.0\r\nStartHTML:00000097\r\nEndHTML:00001301\r\n"
                           "StartFragment:00000269\r\nEndFragment:00001269\r\n"));
    EXPECT_TRUE(wrapped.mid(97).startsWith("<!DOCTYPE"));
    EXPECT_EQ(wrapped.mid(269, 1000), fragment);
    EXPECT_EQ(wrapped.size(), 1301);
    // Multi-byte characters count as their bytes.
    const QByteArray utf8 = QString::fromUtf8("\xC3\xA9").toUtf8();
    EXPECT_TRUE(WrapClipboardHtml(utf8).contains("EndFragment:00000271"));
}

struct SeparatorCase {
    const char* name;
    QLocale::Language language;
    QLocale::Territory territory;
    char separator;
    const char* paper;
};

const SeparatorCase kSeparatorCases[] = {
    {"English_US", QLocale::English, QLocale::UnitedStates, ',', "\\paperw15840\\paperh12240"},
    {"German_Switzerland", QLocale::German, QLocale::Switzerland, ',',
     "\\paperw16840\\paperh11907"},
    {"German", QLocale::German, QLocale::Germany, ';', "\\paperw16840\\paperh11907"},
    {"French", QLocale::French, QLocale::France, ';', "\\paperw16840\\paperh11907"},
};

class TreeExportLocale : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(TreeExportLocale, SeparatorAndPaperFollowTheLocale)
{
    const SeparatorCase& c = GetParam();
    const QLocale locale(c.language, c.territory);
    EXPECT_EQ(listSeparator(locale), QChar(c.separator));
    EXPECT_EQ(rtfPaperSize(locale.measurementSystem()), QByteArray(c.paper));
}

INSTANTIATE_TEST_SUITE_P(Cases, TreeExportLocale, ::testing::ValuesIn(kSeparatorCases), CaseName());

}  // namespace
}  // namespace zfw::test
