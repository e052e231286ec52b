#pragma once
// The combo box the grid's combo editor derives from: a drop-down (editable) or drop-down-list
// style box with its items, index and text, a drop-down button of a chosen width, an optional
// wider list, and virtual key, change, drop-down and focus hooks for the editor to override.

#include <QComboBox>
#include <QStringList>

namespace zfw {

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TEsgComboBox : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int Style READ comboStyle WRITE setComboStyle)
    Q_PROPERTY(QStringList Items READ items WRITE setItems)
    Q_PROPERTY(int ItemIndex READ itemIndex WRITE setItemIndex)
    Q_PROPERTY(QString Text READ text WRITE setText)
    Q_PROPERTY(bool DroppedDown READ droppedDown WRITE setDroppedDown)
    Q_PROPERTY(int DropDownCount READ dropDownCount WRITE setDropDownCount)
    Q_PROPERTY(int ButtonWidth READ buttonWidth WRITE setButtonWidth)
    Q_PROPERTY(int DropWidth READ dropWidth WRITE setDropWidth)

public:
    explicit TEsgComboBox(QWidget* parent = nullptr);
    ~TEsgComboBox() override;

    // csDropDown (editable) and csDropDownList; the other styles are taken as csDropDown.
    TComboBoxStyle comboStyle() const { return m_style; }
    void setComboStyle(int style);

    QStringList items() const;
    // Replaces the items; the list style loses its selection, the drop-down style keeps its
    // text.
    void setItems(const QStringList& items);

    int itemIndex() const { return currentIndex(); }
    // An index outside the items clears the selection.
    void setItemIndex(int index);

    // The edit text (drop-down) or the selected item's text (list; empty without selection).
    QString text() const;
    // Drop-down: the edit text, selecting the item that equals it. List: selects the item
    // equal to the text, or nothing when none is.
    void setText(const QString& text);
    // Selects the first item equal to the text; nothing changes when there is none.
    void SelectItem(const QString& text);

    bool droppedDown() const { return m_dropped; }
    void setDroppedDown(bool down);

    int dropDownCount() const { return maxVisibleItems(); }
    void setDropDownCount(int count);

    // Width of the drop-down button; values outside 14..32 are ignored.
    int buttonWidth() const { return m_buttonWidth; }
    void setButtonWidth(int width);

    // Width of the dropped list; 0 leaves it to the box. A list is never narrower than the box.
    int dropWidth() const { return m_dropWidth; }
    void setDropWidth(int width);

    void showPopup() override;
    void hidePopup() override;

Q_SIGNALS:
    void changed();       // the user changed the text or the selection
    void selected();      // the user chose an item
    void droppingDown();  // the list is about to open
    void droppedUp();     // the list closed
    void entered();
    void exited();

protected:
    // Key hooks: setting `key` to 0 (or `ch` to a null character) consumes it; a changed
    // character is what the box then receives. Keys are Qt key codes.
    virtual void KeyDown(int& key, Qt::KeyboardModifiers shift);
    virtual void KeyPress(QChar& ch);
    virtual void Change();
    virtual void Select();
    virtual void DropDown();
    virtual void DropUp();
    virtual void DoEnter();
    virtual void DoExit();

    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void connectEditor();

    TComboBoxStyle m_style = csDropDown;
    int m_buttonWidth = 19;
    int m_dropWidth = 0;
    bool m_dropped = false;
    bool m_hasFocus = false;
};

}  // namespace zfw
