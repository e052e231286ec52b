#pragma once
// The string tree: the base tree's cells filled with texts its owner gives through OnGetText,
// painted on one line or word-wrapped for multi-line nodes, measured for widths and heights.

#include "tree/LazyTreesControl.h"

#include <QSize>
#include <QStringList>

#include <memory>
#include <set>

namespace zfw {

enum TVSTTextType : std::uint8_t { ttNormal, ttStatic };

// The string tree's own option set.
enum TLTStringOption : std::uint8_t { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using TLTStringOptions = TSmallSet<TLTStringOption, std::uint8_t>;

class TCustomLazyStringTree : public TBaseLazyTree {
public:
    explicit TCustomLazyStringTree(QWidget* parent = nullptr);
    ~TCustomLazyStringTree() override;

    // The text of a cell: asked twice per cell, for the normal and the static text.
    std::function<void(TBaseLazyTree& sender, PLazyNode node, TColumnIndex column,
                       TVSTTextType textType, QString& cellText)>
        OnGetText;
    // Lets the owner change the canvas (font, colour) before a text is painted or measured.
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       TVSTTextType textType)>
        OnPaintText;
    std::function<void(TBaseLazyTree& sender, PLazyNode node, TColumnIndex column,
                       const QString& newText)>
        OnNewText;
    // Draws a cell text itself: clearing defaultDraw keeps the tree from drawing it.
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       const QString& text, const TRect& cellRect, bool& defaultDraw)>
        OnDrawText;
    // Shortens a text too wide for its column (done: result is taken as it is).
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       const QString& s, int textSpace, QString& result, bool& done)>
        OnShortenString;
    // Change the measured extent of a text (pixels).
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       const QString& text, int& extent)>
        OnMeasureTextWidth;
    std::function<void(TBaseLazyTree& sender, ICanvas& canvas, PLazyNode node, TColumnIndex column,
                       const QString& text, int& extent)>
        OnMeasureTextHeight;

    TLTStringOptions StringOptions() const { return FStringOptions; }
    void SetStringOptions(TLTStringOptions value);
    // "Node" after construction; what GetText answers when the owner sets no text.
    QString DefaultText() const { return FDefaultText; }
    void SetDefaultText(const QString& text);
    // The cell text, preset with DefaultText. Throws for nil.
    QString GetText(PLazyNode node, TColumnIndex column);
    // The static text (painted behind the cell text). Throws for nil.
    QString GetStaticText(PLazyNode node, TColumnIndex column);
    // OnNewText, then the node is repainted.
    void SetText(PLazyNode node, TColumnIndex column, const QString& value);
    // The texts from the top-level ancestor down to the node, each followed by the delimiter;
    // the delimiter alone for nil or the root.
    QString Path(PLazyNode node, TColumnIndex column, QChar delimiter);
    // Pixel height of the text s (the cell text when empty) as laid out in the cell.
    int ComputeNodeHeight(ICanvas* canvas, PLazyNode node, TColumnIndex column,
                          const QString& s = QString());
    // Font, rectangle and text of a cell, for an editor or a tooltip.
    void GetTextInfo(PLazyNode node, TColumnIndex column, QFont& font, QRect& r, QString& text);
    // The node's cached text width (text width plus twice TextMargin), 0 when not measured.
    std::uint32_t cachedTextWidth(PLazyNode node) const;

protected:
    // A cell without text is empty (toAutoSpanColumns).
    bool ColumnIsEmpty(PLazyNode node, TColumnIndex column) override
    {
        return GetText(node, column).isEmpty();
    }
    void DoPaintNode(TLTPaintInfo& info) override;
    int DoGetNodeWidth(PLazyNode node, TColumnIndex column) override;
    int DoGetNodeExtraWidth(PLazyNode node, TColumnIndex column) override;
    void changeEvent(QEvent* event) override;
    virtual void DoGetText(PLazyNode node, TColumnIndex column, QString& cellText,
                           QString& staticText);
    virtual void DoPaintText(PLazyNode node, ICanvas& canvas, TColumnIndex column,
                             TVSTTextType textType);
    virtual void DoNewText(PLazyNode node, TColumnIndex column, const QString& text);
    virtual void PaintNormalText(TLTPaintInfo& info, const QString& text);
    virtual void PaintStaticText(TLTPaintInfo& info, const QString& text);
    // 2 x TextMargin plus the text's width in the tree's font.
    virtual int CalculateTextWidth(PLazyNode node, const QString& text, TColumnIndex column);
    void InitNode(PLazyNode node) override;

    // ----- text events and selection memory ------------------------------------------------
    // OnShortenString, else the text with an ellipsis that fits width (ellipsisWidth 0: the
    // ellipsis is measured).
    virtual QString DoShortenString(ICanvas& canvas, PLazyNode node, TColumnIndex column,
                                    const QString& s, int width, int ellipsisWidth);
    // OnDrawText, then the text unless the handler drew it.
    virtual void DoTextDrawing(TLTPaintInfo& info, const QString& text, const TRect& r, int flags);
    // The text's extent in the canvas's font, passed through OnMeasureTextWidth/Height.
    virtual QSize DoTextMeasuring(ICanvas& canvas, PLazyNode node, TColumnIndex column,
                                  const QString& text);
    // With toRestoreSelection the texts of selected nodes are remembered (without regard to
    // case), so that nodes added later with a remembered text come back selected.
    void DoAddToSelection(PLazyNode node) override;
    void DoRemoveFromSelection(PLazyNode node) override;

    // ----- the caption chunk of the tree stream (LazyTreesStringStream.cpp) ---------------
    // With toSaveCaptions an initialised node's main-column text follows its other chunks
    // as UTF-16; reading it hands the text to OnNewText.
    void WriteChunks(QIODevice& stream, PLazyNode node) override;
    bool ReadChunk(QIODevice& stream, int version, PLazyNode node, int chunkType, int chunkSize,
                   int depth = 0) override;

public:
    PLazyNode AddChild(PLazyNode parent, void* userData = nullptr) override;
    // The remembered texts, in order without regard to case.
    QStringList previouslySelected() const;

private:
    void setCachedTextWidth(PLazyNode node, std::uint32_t width);
    void resetWidths();

    std::size_t FInternalDataOffset = 0;
    QString FDefaultText = QStringLiteral("Node");
    TLTStringOptions FStringOptions{toSaveCaptions, toAutoAcceptEditChange};
    int FTextHeight = 0;
    int FEllipsisWidth = 0;

    struct CaseInsensitiveLess {
        bool operator()(const QString& a, const QString& b) const
        {
            return QString::compare(a, b, Qt::CaseInsensitive) < 0;
        }
    };
    // Made on first use; texts of the selected nodes for toRestoreSelection.
    std::unique_ptr<std::set<QString, CaseInsensitiveLess>> FPreviouslySelected;
    // True from the add that found the selection empty until the selection is seen again
    // with other nodes in it or a node leaves it: the adds of one bulk start one memory.
    bool m_freshSelection = false;
    // The colour PaintNormalText chose, for the default drawing of DoTextDrawing.
    TColor m_textColor = clWindowText;
    QString restoreText(PLazyNode node);
};

class TLazyStringTree : public TCustomLazyStringTree {
public:
    using TCustomLazyStringTree::TCustomLazyStringTree;
};

}  // namespace zfw
