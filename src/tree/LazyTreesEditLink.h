#pragma once
// In-place editing of a node's text: the editor contract the tree talks to, and the string
// tree's own editor, a line edit (a plain-text edit for a multi-line node) laid over the cell.
//
// Lifetime: the tree holds the running link by shared pointer, and the editor widget holds it
// too until the edit ends, so that a link stays alive while its widget can still call it. A
// link serves one edit; its widget is released with deleteLater once the link is gone, so it
// disappears after the next turn of the event loop.

#include "common/Alignment.h"
#include "tree/core/LazyTrees.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <memory>

class QEvent;
class QLineEdit;
class QPlainTextEdit;

namespace zfw {

class TBaseLazyTree;
class TCustomLazyStringTree;
class TLTEdit;

// The editor of one cell, as the tree sees it. Every answer false refuses the step.
class ILTEditLink {
public:
    virtual ~ILTEditLink() = default;
    // Shows the editor and gives it the focus.
    virtual bool BeginEdit() = 0;
    // Ends without storing.
    virtual bool CancelEdit() = 0;
    // Stores the edited value into the tree and ends; false keeps the tree editing.
    virtual bool EndEdit() = 0;
    // Binds the link to the cell and loads its value.
    virtual bool PrepareEdit(TBaseLazyTree* tree, PLazyNode node, TColumnIndex column) = 0;
    // The editor's rectangle in the tree's viewport.
    virtual QRect GetBounds() = 0;
    // Hands an event to the editor widget.
    virtual void ProcessMessage(QEvent& event) = 0;
    // Places the editor over r (viewport coordinates).
    virtual void SetBounds(QRect r) = 0;
};

// The string tree's default editor: the cell's text in a TLTEdit, written back with SetText
// when it was changed.
class TStringEditLink : public ILTEditLink, public std::enable_shared_from_this<TStringEditLink> {
public:
    TStringEditLink() = default;
    // Releases the widget (deferred).
    ~TStringEditLink() override;
    TStringEditLink(const TStringEditLink&) = delete;
    TStringEditLink& operator=(const TStringEditLink&) = delete;

    bool BeginEdit() override;
    bool CancelEdit() override;
    // An exception from the tree's OnNewText leaves the link usable and passes on.
    bool EndEdit() override;
    QRect GetBounds() override;
    // False unless the tree is a string tree.
    bool PrepareEdit(TBaseLazyTree* tree, PLazyNode node, TColumnIndex column) override;
    void ProcessMessage(QEvent& event) override;
    // Ignored once the link has ended. At least 30 pixels wide (a right-aligned editor grows to
    // the left), never left of 0 or right of the viewport.
    void SetBounds(QRect r) override;

    TLTEdit* Edit() const { return FEdit; }
    PLazyNode Node() const { return FNode; }
    TColumnIndex Column() const { return FColumn; }
    TAlignment Alignment() const { return FAlignment; }
    bool Stopping() const { return FStopping; }

    static constexpr int MinimumWidth = 30;

private:
    friend class TLTEdit;
    // The tree is alive and still has its window.
    bool treeUsable() const;
    // The tree while it is usable, else nil. The pointer is kept as the base class: while the
    // tree is being destroyed it is no longer a string tree.
    TCustomLazyStringTree* stringTree() const;
    // Takes the keyboard focus off the editor before it hides, so that it goes back to the
    // tree instead of wandering to the next widget of the window.
    void releaseFocus();
    // The widget's links to this link are cut: its later events reach nothing.
    void cutLinks();
    // Lays the text inside the editor where the tree paints it.
    void applyTextMargins();

    QPointer<TLTEdit> FEdit;
    QPointer<TBaseLazyTree> FTree;
    PLazyNode FNode = nullptr;
    TColumnIndex FColumn = NoColumn;
    TAlignment FAlignment = taLeftJustify;
    QRect FTextBounds;
    bool FStopping = false;
};

// The widget of a TStringEditLink. It carries one text control, a QLineEdit for a single-line
// node or a QPlainTextEdit for a multi-line one, and turns its keys and its focus loss into the
// tree's editing steps.
class TLTEdit : public QWidget {
    Q_OBJECT
public:
    TLTEdit(std::shared_ptr<TStringEditLink> link, QWidget* parent);
    ~TLTEdit() override;

    // Frees the widget after the current event (once).
    virtual void Release();
    // Makes the text control fit the node: multi-line or not.
    void setMultiLine(bool multiLine);
    bool isMultiLine() const { return m_memo != nullptr; }
    // The control the user types in; exactly one of the two is set.
    QLineEdit* lineEdit() const { return m_line; }
    QPlainTextEdit* plainTextEdit() const { return m_memo; }
    QWidget* textControl() const;
    QString text() const;
    // Loads a text; it does not count as modified.
    void setText(const QString& text);
    // The user changed the text since it was loaded.
    bool isModified() const;
    void selectAll();
    // Qt::Alignment of the text (physical: left stays left right to left).
    void setTextAlignment(TAlignment alignment);
    void setTextMargins(int left, int top, int right);

protected:
    // A single-line editor follows its text: wide enough for the text and "yG", never
    // narrower than the link allows; the tree repaints what it gives up.
    virtual void AutoAdjustSize();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class TStringEditLink;
    // The keys the editor turns into editing steps; true when the key was taken.
    bool handleKey(QKeyEvent& key);
    void handleFocusLoss();
    // The tree the link edits, while it is usable; nil otherwise.
    TCustomLazyStringTree* tree() const;
    void textEdited();

    std::shared_ptr<ILTEditLink> FRefLink;
    TStringEditLink* FLink = nullptr;
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    bool m_released = false;
    bool m_adjusting = false;
};

}  // namespace zfw
