// Exports and the clipboard: the string tree's CSV text and HTML of 100,000 nodes beside a
// plain walk over a QStandardItemModel writing the same text, and 10,000 nodes copied and
// pasted through the clipboard beside the model's mimeData and dropMimeData.

#include "platform/Clipboard.h"
#include "tree/LazyTreesClipboard.h"
#include "tree/LazyTreesString.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QStandardItemModel>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace zfw;

// 100 top-level nodes of 999 children each: 100,000 nodes on two levels.
constexpr int kTop = 100;
constexpr int kChildren = 999;

struct ExportTrees {
    std::vector<QString> texts;
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    QStandardItemModel model;

    ExportTrees()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->SetNodeDataSize(4);
        tree->OnGetText = [this](TBaseLazyTree& t, PLazyNode n, TColumnIndex, TVSTTextType type,
                                 QString& text) {
            if (type == ttNormal)
                text = texts[*t.nodeData<std::uint32_t>(n)];
        };
        std::uint32_t serial = 0;
        for (int i = 0; i < kTop; ++i) {
            texts.push_back(QStringLiteral("Node %1 <top>").arg(i));
            PLazyNode top = tree->AddChild(nullptr);
            *tree->nodeData<std::uint32_t>(top) = serial++;
            auto* item = new QStandardItem(texts.back());
            QList<QStandardItem*> children;
            for (int j = 0; j < kChildren; ++j) {
                texts.push_back(QStringLiteral("Child %1 of %2 & more").arg(j).arg(i));
                PLazyNode child = tree->AddChild(top);
                *tree->nodeData<std::uint32_t>(child) = serial++;
                children << new QStandardItem(texts.back());
            }
            item->appendRows(children);
            model.appendRow(item);
        }
    }
};

ExportTrees& exportTrees()
{
    static ExportTrees trees;
    return trees;
}

// The text export with a comma, written by walking the model: one line per item, indented by
// one separator per level, quoted when the text needs it.
QString modelCsv(const QStandardItemModel& model)
{
    QString out;
    auto quoted = [](const QString& s) {
        if (!s.contains(QLatin1Char(',')) && !s.contains(QLatin1Char('"'))
            && !s.contains(QLatin1Char('\r')) && !s.contains(QLatin1Char('\n')))
            return s;
        QString q = s;
        q.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + q + QLatin1Char('"');
    };
    for (int i = 0; i < model.rowCount(); ++i) {
        const QStandardItem* top = model.item(i);
        out += quoted(top->text());
        out += QLatin1String("\r\n");
        for (int j = 0; j < top->rowCount(); ++j) {
            out += QLatin1Char(',');
            out += quoted(top->child(j)->text());
            out += QLatin1String("\r\n");
        }
    }
    return out;
}

// The rows of the HTML export written by walking the model, between the same head and tail.
QString modelHtml(const QStandardItemModel& model, const QString& head)
{
    QString out = head;
    for (int i = 0; i < model.rowCount(); ++i) {
        const QStandardItem* top = model.item(i);
        out += QLatin1String(
            " <tr class=\"default\">\r\n <td class=\"normalborder\"  "
            "height=\"18px\" align=left colspan=\"2\">");
        out += top->text().toHtmlEscaped();
        out += QLatin1String("</td> </tr>\r\n");
        for (int j = 0; j < top->rowCount(); ++j) {
            out += QLatin1String(
                " <tr class=\"default\">\r\n <td height=\"18px\" "
                "class=\"normalborder\">&nbsp;</td> <td class=\"normalborder\"  "
                "height=\"18px\" align=left>");
            out += top->child(j)->text().toHtmlEscaped();
            out += QLatin1String("</td> </tr>\r\n");
        }
    }
    out += QLatin1String("</table>");
    return out;
}

QString htmlHead(TLazyStringTree& tree)
{
    const QString html = tree.ContentToHTML(tstAll);
    return html.left(html.indexOf(QLatin1String(" <tr")));
}

void BM_ExportCsv_Ours(benchmark::State& state)
{
    auto& f = exportTrees();
    for (auto _ : state) {
        QString csv = f.tree->ContentToText(tstAll, QStringLiteral(","));
        benchmark::DoNotOptimize(csv);
    }
    state.SetItemsProcessed(state.iterations() * kTop * (kChildren + 1));
}

void BM_ExportCsv_Qt(benchmark::State& state)
{
    auto& f = exportTrees();
    if (modelCsv(f.model) != f.tree->ContentToText(tstAll, QStringLiteral(","))) {
        state.SkipWithError("the two texts differ");
        return;
    }
    for (auto _ : state) {
        QString csv = modelCsv(f.model);
        benchmark::DoNotOptimize(csv);
    }
    state.SetItemsProcessed(state.iterations() * kTop * (kChildren + 1));
}

void BM_ExportHtml_Ours(benchmark::State& state)
{
    auto& f = exportTrees();
    for (auto _ : state) {
        QString html = f.tree->ContentToHTML(tstAll);
        benchmark::DoNotOptimize(html);
    }
    state.SetItemsProcessed(state.iterations() * kTop * (kChildren + 1));
}

void BM_ExportHtml_Qt(benchmark::State& state)
{
    auto& f = exportTrees();
    const QString head = htmlHead(*f.tree);
    if (modelHtml(f.model, head) != f.tree->ContentToHTML(tstAll)) {
        state.SkipWithError("the two documents differ");
        return;
    }
    for (auto _ : state) {
        QString html = modelHtml(f.model, head);
        benchmark::DoNotOptimize(html);
    }
    state.SetItemsProcessed(state.iterations() * kTop * (kChildren + 1));
}

// ----- copy and paste ----------------------------------------------------------------------

constexpr int kCopied = 10000;

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
    std::uint32_t serial = 0;
    for (PLazyNode n = source->GetFirst(); n; n = source->GetNext(n)) {
        *source->nodeData<std::uint32_t>(n) = serial++;
        source->SetSelected(n, true);
    }
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

BENCHMARK(BM_ExportCsv_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsv_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportHtml_Qt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPaste_Ours)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyPaste_Qt)->Unit(benchmark::kMillisecond);
