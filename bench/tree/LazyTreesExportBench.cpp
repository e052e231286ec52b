// Exports and the clipboard: the string tree with three header columns written as CSV text
// (100,000 and 1,000,000 nodes) and as HTML (100,000 nodes) beside a plain walk over a
// QStandardItemModel of the same content writing the same text, and 100,000 selected nodes
// copied and pasted through the clipboard beside the model's mimeData and dropMimeData.

#include "platform/Clipboard.h"
#include "tree/LazyTreesClipboard.h"
#include "tree/LazyTreesString.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace zfw;

// Top-level nodes of 999 children each: the argument is the number of top-level nodes, so
// 100 gives 100,000 nodes and 1,000 gives 1,000,000, on two levels.
constexpr int kChildren = 999;
constexpr int kColumns = 3;

// The header's captions; the first column is the main one.
const std::array<const char*, kColumns> kCaptions{"Name", "Value", "Note"};

struct ExportTrees {
    std::int64_t nodes = 0;
    // Texts by serial number and column. The note column repeats a few shared texts, as an
    // owner does that keeps its captions.
    std::vector<QString> names;
    std::vector<QString> values;
    std::vector<QString> notes;
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    QStandardItemModel model;

    explicit ExportTrees(int top)
    {
        nodes = std::int64_t(top) * (kChildren + 1);
        for (const char* n : {"plain", "with, comma", "a \"quote\"", "<tag> & more", "ok"})
            notes.push_back(QString::fromLatin1(n));
        names.reserve(std::size_t(nodes));
        values.reserve(std::size_t(nodes));

        TLTHeader& header = tree->Header();
        for (const char* caption : kCaptions) {
            TLazyTreeColumn& column = header.Columns().Add();
            column.SetText(QString::fromLatin1(caption));
            column.SetWidth(120);
        }
        header.SetOptions(header.Options() + TLTHeaderOptions{hoVisible});
        header.SetMainColumn(0);
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetNodeDataSize(4);
        tree->OnGetText = [this](TBaseLazyTree& t, PLazyNode n, TColumnIndex column,
                                 TVSTTextType type, QString& text) {
            if (type == ttNormal)
                text = textOf(*t.nodeData<std::uint32_t>(n), column);
        };

        model.setColumnCount(kColumns);
        for (int c = 0; c < kColumns; ++c)
            model.setHeaderData(c, Qt::Horizontal, QString::fromLatin1(kCaptions[c]));
        std::uint32_t serial = 0;
        auto row = [this](std::uint32_t s) {
            return QList<QStandardItem*>{new QStandardItem(textOf(s, 0)),
                                         new QStandardItem(textOf(s, 1)),
                                         new QStandardItem(textOf(s, 2))};
        };
        for (int i = 0; i < top; ++i) {
            names.push_back(QStringLiteral("Node %1 <top>").arg(i));
            values.push_back(QString::number(serial));
            PLazyNode topNode = tree->AddChild(nullptr);
            *tree->nodeData<std::uint32_t>(topNode) = serial;
            QList<QStandardItem*> topRow = row(serial++);
            for (int j = 0; j < kChildren; ++j) {
                names.push_back(QStringLiteral("Child %1 of %2 & more").arg(j).arg(i));
                values.push_back(QString::number(serial));
                PLazyNode child = tree->AddChild(topNode);
                *tree->nodeData<std::uint32_t>(child) = serial;
                topRow.front()->appendRow(row(serial++));
            }
            model.appendRow(topRow);
        }
    }

    const QString& textOf(std::uint32_t serial, TColumnIndex column) const
    {
        if (column == 1)
            return values[serial];
        if (column == 2)
            return notes[serial % notes.size()];
        return names[serial];
    }
};

QString csvQuoted(const QString& s)
{
    if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"'))
        && !s.contains(QLatin1Char('\r')) && !s.contains(QLatin1Char('\n')))
        return s;
    QString q = s;
    q.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

// One CSV line of a model row: the main column indented by one separator per level and padded
// to the deepest level (1 here), then the other columns.
void modelCsvRow(QString& out, const QStandardItem* parent, int row, const QStandardItem* first,
                 int level)
{
    if (level > 0)
        out += QLatin1Char(',');
    out += csvQuoted(first->text());
    if (level == 0)
        out += QLatin1Char(',');
    for (int c = 1; c < kColumns; ++c) {
        out += QLatin1Char(',');
        out += csvQuoted(parent->child(row, c)->text());
    }
    out += QLatin1String("\r\n");
}

// The comma-separated text written by walking the model: the header's captions, then one line
// per row, fields quoted when the text needs it.
QString modelCsv(const QStandardItemModel& model)
{
    QString out;
    for (int c = 0; c < kColumns; ++c) {
        if (c > 0)
            out += QLatin1Char(',');
        out += csvQuoted(model.headerData(c, Qt::Horizontal).toString());
        if (c == 0)
            out += QLatin1Char(',');
    }
    out += QLatin1String("\r\n");
    const QStandardItem* root = model.invisibleRootItem();
    for (int i = 0; i < model.rowCount(); ++i) {
        const QStandardItem* top = model.item(i);
        modelCsvRow(out, root, i, top, 0);
        for (int j = 0; j < top->rowCount(); ++j)
            modelCsvRow(out, top, j, top->child(j), 1);
    }
    return out;
}

void modelHtmlRow(QString& out, const QStandardItem* parent, int row, int level)
{
    out += QLatin1String(" <tr class=\"default\">\r\n");
    if (level > 0)
        out += QLatin1String(" <td height=\"18px\" class=\"normalborder\">&nbsp;</td>");
    for (int c = 0; c < kColumns; ++c) {
        out += QLatin1String(" <td class=\"normalborder\"  height=\"18px\" align=left");
        if (c == 0 && level == 0)
            out += QLatin1String(" colspan=\"2\"");
        out += QLatin1Char('>');
        out += parent->child(row, c)->text().toHtmlEscaped();
        out += QLatin1String("</td>");
    }
    out += QLatin1String(" </tr>\r\n");
}

// The rows of the HTML export written by walking the model, between the same head (style,
// table and header row) and tail.
QString modelHtml(const QStandardItemModel& model, const QString& head)
{
    QString out = head;
    const QStandardItem* root = model.invisibleRootItem();
    for (int i = 0; i < model.rowCount(); ++i) {
        const QStandardItem* top = model.item(i);
        modelHtmlRow(out, root, i, 0);
        for (int j = 0; j < top->rowCount(); ++j)
            modelHtmlRow(out, top, j, 1);
    }
    out += QLatin1String("</table>");
    return out;
}

QString htmlHead(TLazyStringTree& tree)
{
    const QString html = tree.ContentToHTML(tstAll);
    return html.left(html.indexOf(QLatin1String(" <tr class=\"default\">")));
}

// Says where two texts that should be equal part, so a failed check is easy to follow.
std::string firstDifference(const QString& a, const QString& b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    const qsizetype from = std::max<qsizetype>(0, i - 40);
    return ("at " + QString::number(i) + ": ours \"" + b.mid(from, 120) + "\", model \""
            + a.mid(from, 120) + "\"")
        .toStdString();
}

void BM_ExportCsv_Ours(benchmark::State& state)
{
    ExportTrees f(int(state.range(0)));
    for (auto _ : state) {
        QString csv = f.tree->ContentToText(tstAll, QStringLiteral(","));
        benchmark::DoNotOptimize(csv);
    }
    state.SetItemsProcessed(state.iterations() * f.nodes);
}

void BM_ExportCsv_Qt(benchmark::State& state)
{
    ExportTrees f(int(state.range(0)));
    const QString ours = f.tree->ContentToText(tstAll, QStringLiteral(","));
    const QString theirs = modelCsv(f.model);
    if (theirs != ours) {
        state.SkipWithError(("the two texts differ " + firstDifference(theirs, ours)).c_str());
        return;
    }
    for (auto _ : state) {
        QString csv = modelCsv(f.model);
        benchmark::DoNotOptimize(csv);
    }
    state.SetItemsProcessed(state.iterations() * f.nodes);
}

void BM_ExportHtml_Ours(benchmark::State& state)
{
    ExportTrees f(int(state.range(0)));
    for (auto _ : state) {
        QString html = f.tree->ContentToHTML(tstAll);
        benchmark::DoNotOptimize(html);
    }
    state.SetItemsProcessed(state.iterations() * f.nodes);
}

void BM_ExportHtml_Qt(benchmark::State& state)
{
    ExportTrees f(int(state.range(0)));
    const QString head = htmlHead(*f.tree);
    const QString ours = f.tree->ContentToHTML(tstAll);
    const QString theirs = modelHtml(f.model, head);
    if (theirs != ours) {
        state.SkipWithError(("the two documents differ " + firstDifference(theirs, ours)).c_str());
        return;
    }
    for (auto _ : state) {
        QString html = modelHtml(f.model, head);
        benchmark::DoNotOptimize(html);
    }
    state.SetItemsProcessed(state.iterations() * f.nodes);
}

// ----- copy and paste ----------------------------------------------------------------------

constexpr int kCopied = 100000;
std::unique_ptr<TLazyStringTree> numberedTree(const std::shared_ptr<TLTClipboardContext>& context)
{
    auto tree = std::make_unique<TLazyStringTree>();
    tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
    tree->SetSelectionOptions(tree->options().SelectionOptions
                              + TLTSelectionOptions{toMultiSelect});
    tree->SetNodeDataSize(4);
    tree->SetClipboardContext(context);
    tree->SetClipboardFormats({QStringLiteral("Lazy Tree Data")});
    tree->OnSaveNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        s.write(t.nodeData<char>(n), 4);
    };
    tree->OnLoadNode = [](LazyTreeModel& t, PLazyNode n, QIODevice& s) {
        s.read(t.nodeData<char>(n), 4);
    };
    return tree;
}

void BM_CopyPaste_Ours(benchmark::State& state)
{
    auto context = std::make_shared<TLTClipboardContext>(systemClipboard());
    auto source = numberedTree(context);
    auto target = numberedTree(context);
    source->SetRootNodeCount(kCopied);
    // Selected inside an update bracket: outside one, every selection repaints its row, and
    // finding a row's place in a flat list without the position cache walks its siblings.
    std::uint32_t serial = 0;
    source->BeginUpdate();
    for (PLazyNode n = source->GetFirst(); n; n = source->GetNext(n)) {
        *source->nodeData<std::uint32_t>(n) = serial++;
        source->SetSelected(n, true);
    }
    source->EndUpdate();
    for (auto _ : state) {
        source->CopyToClipboard();
        target->PasteFromClipboard();
        state.PauseTiming();
        if (target->RootNode()->ChildCount != std::uint32_t(kCopied))
            state.SkipWithError("not every node arrived");
        target->Clear();
        state.ResumeTiming();
    }
    QGuiApplication::clipboard()->clear();
    state.SetItemsProcessed(state.iterations() * kCopied);
}

void BM_CopyPaste_Qt(benchmark::State& state)
{
    QStandardItemModel source;
    QStandardItemModel target;
    QList<QStandardItem*> items;
    for (int i = 0; i < kCopied; ++i) {
        auto* item = new QStandardItem;
        item->setData(i, Qt::UserRole);
        items << item;
    }
    source.appendColumn(items);
    QModelIndexList indexes;
    for (int i = 0; i < kCopied; ++i)
        indexes << source.index(i, 0);
    QClipboard* clipboard = QGuiApplication::clipboard();
    for (auto _ : state) {
        clipboard->setMimeData(source.mimeData(indexes));
        target.dropMimeData(clipboard->mimeData(), Qt::CopyAction, target.rowCount(), 0,
                            QModelIndex());
        state.PauseTiming();
        if (target.rowCount() != kCopied)
            state.SkipWithError("not every item arrived");
        target.clear();
        state.ResumeTiming();
    }
    clipboard->clear();
    state.SetItemsProcessed(state.iterations() * kCopied);
}

}  // namespace

BENCHMARK(BM_ExportCsv_Ours)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv_Qt)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml_Ours)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml_Qt)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPaste_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPaste_Qt)->Unit(benchmark::kMillisecond);
