// The string tree: texts through OnGetText, the default text, paths, the width cache, static
// text and multi-line nodes.

#include "tree/LazyTreesString.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

namespace zfw::test {
namespace {

struct TextTree {
    std::unique_ptr<TLazyStringTree> tree = std::make_unique<TLazyStringTree>();
    std::map<PLazyNode, QString> texts;
    std::map<PLazyNode, QString> statics;
    int asked = 0;

    TextTree()
    {
        tree->SetAutoOptions(tree->options().AutoOptions - TLTAutoOptions{toAutoSort});
        tree->resize(300, 200);
    }
    void useTexts()
    {
        tree->OnGetText = [this](TBaseLazyTree&, PLazyNode n, TColumnIndex, TVSTTextType type,
                                 QString& text) {
            ++asked;
            const auto& source = type == ttNormal ? texts : statics;
            if (auto it = source.find(n); it != source.end())
                text = it->second;
        };
    }
    std::vector<CanvasOp> textsPainted()
    {
        RecordingCanvas canvas(tree->palette());
        tree->PaintTree(canvas, Rect(0, 0, 300, 200), QPoint(0, 0), {poUnbuffered});
        std::vector<CanvasOp> out;
        for (const CanvasOp& op : canvas.ops())
            if (op.kind == CanvasOp::Text)
                out.push_back(op);
        return out;
    }
};

TEST(TreeString, WithoutTextEventsCellsPaintEmptyButGetTextSaysNode)
{
    TextTree f;
    PLazyNode n = f.tree->AddChild(nullptr);
    EXPECT_EQ(f.tree->DefaultText(), "Node");
    EXPECT_EQ(f.tree->GetText(n, NoColumn), "Node");
    EXPECT_TRUE(f.textsPainted().empty());
    // Widths are measured from the default text.
    EXPECT_GT(f.tree->cachedTextWidth(n), 0u);
    EXPECT_THROW(f.tree->GetText(nullptr, NoColumn), ELazyTreeAssertion);
}

TEST(TreeString, PathJoinsTheTextsFromTheTop)
{
    TextTree f;
    f.useTexts();
    PLazyNode a = f.tree->AddChild(nullptr);
    PLazyNode b = f.tree->AddChild(a);
    PLazyNode c = f.tree->AddChild(b);
    f.texts = {{a, "A"}, {b, "B"}, {c, "C"}};
    EXPECT_EQ(f.tree->Path(a, NoColumn, '\\'), "A\\");
    EXPECT_EQ(f.tree->Path(c, NoColumn, '\\'), "A\\B\\C\\");
    EXPECT_EQ(f.tree->Path(nullptr, NoColumn, '\\'), "\\");
}

TEST(TreeString, TheWidthCacheIsResetByAFontChangeAndByAReinitialisation)
{
    TextTree f;
    f.useTexts();
    PLazyNode a = f.tree->AddChild(nullptr);
    PLazyNode b = f.tree->AddChild(a);
    f.texts = {{a, "AAAA"}, {b, "BBBB"}};
    f.tree->SetExpanded(a, true);
    f.tree->GetDisplayRect(a, NoColumn, true);
    f.tree->GetDisplayRect(b, NoColumn, true);
    ASSERT_GT(f.tree->cachedTextWidth(a), 0u);
    ASSERT_GT(f.tree->cachedTextWidth(b), 0u);
    f.tree->ReinitNode(a, false);
    EXPECT_EQ(f.tree->cachedTextWidth(a), 0u);
    EXPECT_GT(f.tree->cachedTextWidth(b), 0u);
    f.tree->GetDisplayRect(a, NoColumn, true);
    QFont bigger = f.tree->font();
    bigger.setPointSize(bigger.pointSize() + 6);
    f.tree->setFont(bigger);
    EXPECT_EQ(f.tree->cachedTextWidth(a), 0u);
    EXPECT_EQ(f.tree->cachedTextWidth(b), 0u);
}

TEST(TreeString, StaticTextFollowsTheCellTextUnlessCentredOrMultiLine)
{
    TextTree f;
    f.useTexts();
    PLazyNode a = f.tree->AddChild(nullptr);
    PLazyNode b = f.tree->AddChild(nullptr);
    f.texts = {{a, "A"}, {b, "B"}};
    f.statics = {{a, "(3 records)"}, {b, "(1 record)"}};
    EXPECT_EQ(f.textsPainted().size(), 2u);
    f.tree->SetStringOptions(f.tree->StringOptions() + TLTStringOptions{toShowStaticText});
    auto texts = f.textsPainted();
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[1].text, "(3 records)");
    EXPECT_GT(texts[1].rect.Left, texts[0].rect.Left);
    f.tree->SetMultiline(b, true);
    EXPECT_EQ(f.textsPainted().size(), 3u);
    f.tree->SetAlignment(taCenter);
    EXPECT_EQ(f.textsPainted().size(), 2u);
}

TEST(TreeString, AMultiLineNodeWrapsItsTextWithinTheRow)
{
    TextTree f;
    f.useTexts();
    f.tree->show();
    PLazyNode a = f.tree->AddChild(nullptr);
    f.tree->SetMultiline(a, true);
    f.tree->SetNodeHeight(a, 80);
    f.texts = {{a, "one two three four five six seven eight nine ten eleven twelve"}};
    const auto texts = f.textsPainted();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_TRUE(texts[0].text.contains('\n'));
    const int lines = int(texts[0].text.count('\n')) + 1;
    EXPECT_EQ(f.tree->ComputeNodeHeight(nullptr, a, NoColumn),
              lines * QFontMetrics(f.tree->font()).height());
}

TEST(TreeString, CaptionsTravelWithTheStream)
{
    TextTree source;
    source.useTexts();
    PLazyNode a = source.tree->AddChild(nullptr);
    PLazyNode b = source.tree->AddChild(nullptr);
    source.tree->AddChild(nullptr);
    source.texts[a] = QStringLiteral("Zähler \U0001F600");
    source.texts[b] = QStringLiteral("x");
    for (PLazyNode n = source.tree->GetFirstNoInit(); n; n = source.tree->GetNextNoInit(n))
        source.tree->GetText(n, NoColumn);  // initialises the node
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    source.tree->SaveToStream(buffer, nullptr);

    TextTree target;
    target.tree->OnNewText = [&](TBaseLazyTree&, PLazyNode n, TColumnIndex column,
                                 const QString& text) {
        EXPECT_EQ(column, NoColumn);
        target.texts[n] = text;
    };
    buffer.seek(0);
    target.tree->LoadFromStream(buffer);
    std::vector<QString> got;
    for (PLazyNode n = target.tree->GetFirstNoInit(); n; n = target.tree->GetNextNoInit(n))
        got.push_back(target.texts.count(n) ? target.texts[n] : QStringLiteral("-"));
    // The third node has the default text "Node" from no handler: it is stored too.
    EXPECT_EQ(got, (std::vector<QString>{source.texts[a], "x", "Node"}));

    // Without toSaveCaptions no text is written.
    source.tree->SetStringOptions(source.tree->StringOptions() - TLTStringOptions{toSaveCaptions});
    QBuffer bare;
    bare.open(QIODevice::ReadWrite);
    source.tree->SaveToStream(bare, nullptr);
    EXPECT_EQ(bare.size(), 16 + 3 * 35);
}

}  // namespace
}  // namespace zfw::test
