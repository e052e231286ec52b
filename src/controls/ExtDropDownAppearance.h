#pragma once
// The looks of a drop-down's popup header and footer bars, and their button definitions, as
// plain settings objects: defaults, writers that notify where a change must reach an open
// popup, and Assign. The bars themselves copy these before every showing.

#include "controls/ExtDropDownDraw.h"
#include "platform/Colors.h"

#include <QFont>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace zfw {

enum TButtonAlignment { baLeft, baRight };

using TNotifyEvent = std::function<void()>;

template <class Item>
class TButtonCollection;

// A push button of a bar. Caption, Enabled and Width notify the owning collection when they
// change; Height and ImageIndex are stored silently (an open popup is not rebuilt for them).
class THeaderButton {
public:
    THeaderButton() = default;
    virtual ~THeaderButton() = default;

    int ImageIndex = -1;  // -1: none
    int Height = 0;       // 0: automatic

    const QString& Caption() const { return FCaption; }
    void SetCaption(const QString& caption);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool on);
    // 0: automatic.
    int Width() const { return FWidth; }
    void SetWidth(int w);

    // Copies the five values without notifying.
    void Assign(const THeaderButton& source);

private:
    template <class Item>
    friend class TButtonCollection;
    void changed();

    QString FCaption;
    bool FEnabled = true;
    int FWidth = 0;
    std::function<void()> m_notify;  // the owning collection's change
};

// A footer button also carries the modal result it closes the popup with (0: none).
class TFooterButton : public THeaderButton {
public:
    int ModalResult = 0;
    void Assign(const TFooterButton& source);
};

// An ordered, owning list of button definitions. Adding, inserting, deleting and assigning
// fire nothing; only the notifying item writers fire OnChange.
template <class Item>
class TButtonCollection {
public:
    explicit TButtonCollection(QObject* owner = nullptr) : FMyOwner(owner) {}
    TButtonCollection(const TButtonCollection&) = delete;
    TButtonCollection& operator=(const TButtonCollection&) = delete;

    QObject* owner() const { return FMyOwner; }
    int count() const { return int(m_items.size()); }

    Item* Add() { return Insert(count()); }
    // An index outside 0..count is taken as count (appended).
    Item* Insert(int index)
    {
        if (index < 0 || index > count())
            index = count();
        auto item = std::make_unique<Item>();
        item->m_notify = [this] {
            if (OnChange)
                OnChange();
        };
        Item* raw = item.get();
        m_items.insert(m_items.begin() + index, std::move(item));
        return raw;
    }
    // nullptr for an index outside the list.
    Item* GetItem(int index) const
    {
        return index >= 0 && index < count() ? m_items[std::size_t(index)].get() : nullptr;
    }
    // Copies the values into the item at the index; nothing for an index outside the list.
    void SetItem(int index, const Item& value)
    {
        if (Item* item = GetItem(index))
            item->Assign(value);
    }
    void Delete(int index)
    {
        if (index >= 0 && index < count())
            m_items.erase(m_items.begin() + index);
    }
    void Clear() { m_items.clear(); }

    // Replaces the items by copies of the source's items.
    void Assign(const TButtonCollection& source)
    {
        // Clearing first and copying from oneself would lose every definition.
        if (&source == this)
            return;
        Clear();
        for (int i = 0; i < source.count(); ++i)
            Add()->Assign(*source.GetItem(i));
    }

    TNotifyEvent OnChange;

private:
    QObject* FMyOwner = nullptr;
    std::vector<std::unique_ptr<Item>> m_items;
};

using THeaderButtons = TButtonCollection<THeaderButton>;
using TFooterButtons = TButtonCollection<TFooterButton>;

// The settings shared by both bars; the header and footer classes below are what the
// drop-downs and the grid's control look hold.
template <class Buttons>
class TBarAppearance {
public:
    bool Visible() const { return FVisible; }
    // Fires OnChange when the value changes.
    void SetVisible(bool on)
    {
        if (on == FVisible)
            return;
        FVisible = on;
        if (OnChange)
            OnChange();
    }

    QObject* GetOwner() const { return FOwner; }

    int Height = 22;
    int BorderWidth = 1;
    int ImageIndex = -1;       // image from the edit's list; -1 none
    QString Caption;           // mini-HTML
    TColor ColorTo = clWhite;  // clNone: plain fill
    TColor Color = clSilver;
    TColor BorderColor = clBlack;  // clNone: no border
    QFont Font;
    TGradientDirection GradientDirection = gdVertical;
    TButtonAlignment ButtonAlignment = baRight;

    Buttons& GetButtons() { return *FButtons; }
    const Buttons& GetButtons() const { return *FButtons; }
    // Copies the definitions silently.
    void SetButtons(const Buttons& source) { FButtons->Assign(source); }

    // Fired when Visible changes.
    TNotifyEvent OnChange;
    // Fired when a button definition reports a change.
    TNotifyEvent OnButtonsChanged;

protected:
    explicit TBarAppearance(QObject* owner)
        : FOwner(owner), FButtons(std::make_unique<Buttons>(owner))
    {
        FButtons->OnChange = [this] {
            if (OnButtonsChanged)
                OnButtonsChanged();
        };
    }
    TBarAppearance(const TBarAppearance&) = delete;
    TBarAppearance& operator=(const TBarAppearance&) = delete;

    void assignCommon(const TBarAppearance& source)
    {
        ColorTo = source.ColorTo;
        Color = source.Color;
        BorderColor = source.BorderColor;
        Caption = source.Caption;
        Font = source.Font;
        ImageIndex = source.ImageIndex;
        BorderWidth = source.BorderWidth;
        GradientDirection = source.GradientDirection;
        Height = source.Height;
    }
    void assignTail(const TBarAppearance& source)
    {
        SetVisible(source.FVisible);
        ButtonAlignment = source.ButtonAlignment;
        FButtons->Assign(*source.FButtons);
    }
    void assignColorsOf(const TBarAppearance& source)
    {
        ColorTo = source.ColorTo;
        Color = source.Color;
        BorderColor = source.BorderColor;
        Font = source.Font;
        GradientDirection = source.GradientDirection;
    }

private:
    QObject* FOwner = nullptr;
    bool FVisible = true;
    std::unique_ptr<Buttons> FButtons;
};

class THeaderAppearance : public TBarAppearance<THeaderButtons> {
public:
    // The caption font is named "Tahoma" (the desktop falls back when it lacks it).
    explicit THeaderAppearance(QObject* owner = nullptr);

    // Looks, caption, font, image, sizes, then Visible through its writer (so OnChange fires
    // when it changes), then the button alignment and the definitions.
    void Assign(const THeaderAppearance& source);
    // ColorTo, Color, BorderColor, the font and the gradient direction only.
    void AssignColors(const THeaderAppearance& source);
};

class TFooterAppearance : public TBarAppearance<TFooterButtons> {
public:
    // The caption font keeps the application's default family.
    explicit TFooterAppearance(QObject* owner = nullptr);

    bool SizeGrip = true;

    // As the header's, with SizeGrip among the looks.
    void Assign(const TFooterAppearance& source);
    void AssignColors(const TFooterAppearance& source);
};

}  // namespace zfw
