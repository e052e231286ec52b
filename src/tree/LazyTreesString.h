#pragma once
// The string tree: the base tree's cells filled with texts its owner gives through OnGetText,
// painted on one line or word-wrapped for multi-line nodes, measured for widths and heights.

#include "tree/LazyTreesControl.h"
#include "tree/LazyTreesExport.h"

#include <QSize>
#include <QStringList>

#include <memory>
#include <set>

namespace zfw {

enum TVSTTextType : std::uint8_t { ttNormal, ttStatic };

// The string tree's own option set.
enum TLTStringOption : std::uint8_t { toSaveCaptions, toShowStaticText, toAutoAcceptEditChange };
using TLTStringOptions = TSmallSet<TLTStringOption, std::uint8_t>;

// The texts of one cell asked in one go, with the export that asks (etNone for painting).
struct TVSTGetCellTextEventArgs {
    PLazyNode Node = nullptr;
    TColumnIndex Column = NoColumn;
    QString CellText;
    QString StaticText;
    TLTExportType ExportType = etNone;
};

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
    // A node's hint (or tooltip) text and line break style; without a handler a tooltip shows
    // the cell text.
    std::function<void(TBaseLazyTree& sender, PLazyNode node, TColumnIndex column,
                       TLTTooltipLineBreakStyle& lineBreakStyle, QString& hintText)>
        OnGetHint;
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
    // OnCreateEditor's link, else a new TStringEditLink (LazyTreesEditLink.cpp).
    std::shared_ptr<ILTEditLink> DoCreateEditor(PLazyNode node, TColumnIndex column) override;

    // OnIncrementalSearch when assigned, else 0 when the node's text in the focused column
    // begins with the search text (case counts).
    int DoIncrementalSearch(PLazyNode node, const QString& text) override;
    QString DoGetNodeHint(PLazyNode node, TColumnIndex column,
                          TLTTooltipLineBreakStyle& lineBreakStyle) override;
    QString DoGetNodeTooltip(PLazyNode node, TColumnIndex column,
                             TLTTooltipLineBreakStyle& lineBreakStyle) override;
    QRect hintTextRect(PLazyNode node, TColumnIndex column) override;
    // The tree's font as OnPaintText leaves it for the cell's text.
    QFont hintTextFont(PLazyNode node, TColumnIndex column) override;

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

    // ----- export (LazyTreesExport.cpp) -------------------------------------------------------
    // Both texts of a cell in one event, with the kind of export asking; when set it is asked
    // instead of OnGetText.
    std::function<void(TCustomLazyStringTree& sender, TVSTGetCellTextEventArgs& e)> OnGetCellText;
    // Export events. Columns are named by index. OnBeforeNodeExport answering false leaves a
    // node out of the HTML and RTF exports.
    std::function<void(TBaseLazyTree& sender, TLTExportType type)> OnBeforeTreeExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type)> OnAfterTreeExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type)> OnBeforeHeaderExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type)> OnAfterHeaderExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type, TColumnIndex column)>
        OnBeforeColumnExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type, TColumnIndex column)>
        OnColumnExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type, TColumnIndex column)>
        OnAfterColumnExport;
    std::function<bool(TBaseLazyTree& sender, TLTExportType type, PLazyNode node)>
        OnBeforeNodeExport;
    std::function<bool(TBaseLazyTree& sender, TLTExportType type, PLazyNode node)> OnNodeExport;
    std::function<void(TBaseLazyTree& sender, TLTExportType type, PLazyNode node)>
        OnAfterNodeExport;

    // Every export but the CSV file runs as an okExport operation: CancelOperation (from a
    // handler) stops its node walk at once, and what was written so far is closed and returned.
    // HTML and RTF take the nodes of the source that ExportMode lets through; the text export
    // takes them all.
    QString ContentToHTML(TVSTTextSourceType source, const QString& caption = QString());
    // ASCII: every character as a \u control word.
    QByteArray ContentToRTF(TVSTTextSourceType source);
    // One line per node (CR LF), indented by the separator per level.
    QString ContentToText(TVSTTextSourceType source, const QString& separator);
    QString ContentToText(TVSTTextSourceType source, QChar separator)
    {
        return ContentToText(source, QString(separator));
    }
    QString ContentToUnicode(TVSTTextSourceType source, QChar separator)
    {
        return ContentToText(source, QString(separator));
    }
    // Only the export events, for an owner that writes its own format.
    void ContentToCustom(TVSTTextSourceType source);
    // The bytes of a registered text format ("Plain text", "Unicode text", "CSV", "Rich Text
    // Format", "Rich Text Format Without Objects", "HTML Format"); empty for other names. The
    // array carries its length, so no terminating NUL is added.
    QByteArray ContentToClipboard(const QString& format, TVSTTextSourceType source);
    // The top-level nodes as CSV (UTF-8, CR LF, every value quoted), with the column captions
    // first when asked. False for an empty name, or with *error set when the file could not be
    // written (an existing file is then kept).
    bool SaveToCSVFile(const QString& fileNameWithPath, bool includeHeading,
                       QString* error = nullptr);
    // The text formats of the clipboard and of drags, besides the base tree's node data.
    QByteArray RenderOLEData(const QString& mimeType, bool forClipboard) override;

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

    // ----- export (LazyTreesExport.cpp)
    // The columns an export walks; the one place that decides them.
    virtual TLTExportColumns exportColumns();
    void exportTexts(PLazyNode node, TColumnIndex column, TLTExportType type, QString& cellText,
                     QString& staticText);
    bool passesExportFilter(PLazyNode node);
    PLazyNode firstExportNode(TVSTTextSourceType source);
    // Nil once the export was cancelled.
    PLazyNode nextExportNode(PLazyNode node, TVSTTextSourceType source);
    // The export asking for texts now (etNone outside exports), for OnGetCellText.
    TLTExportType m_textExportType = etNone;
};

class TLazyStringTree : public TCustomLazyStringTree {
public:
    using TCustomLazyStringTree::TCustomLazyStringTree;
};

}  // namespace zfw
