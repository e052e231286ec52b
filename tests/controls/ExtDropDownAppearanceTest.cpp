// The header and footer settings of the drop-downs: defaults, which writers notify, and what
// Assign and AssignColors copy.

#include "controls/ExtDropDownAppearance.h"

#include "support/CaseName.h"

#include <QObject>

#include <gtest/gtest.h>

#include <functional>

namespace zfw {
namespace {

using test::CaseName;

TEST(ExtDropDownAppearance, HeaderDefaults)
{
    QObject owner;
    THeaderAppearance h(&owner);
    EXPECT_EQ(h.GetOwner(), &owner);
    EXPECT_EQ(h.GetButtons().owner(), &owner);
    EXPECT_TRUE(h.Visible());
    EXPECT_EQ(h.Height, 22);
    EXPECT_EQ(h.BorderWidth, 1);
    EXPECT_EQ(h.ImageIndex, -1);
    EXPECT_TRUE(h.Caption.isEmpty());
    EXPECT_EQ(h.ColorTo, clWhite);
    EXPECT_EQ(h.Color, clSilver);
    EXPECT_EQ(h.BorderColor, clBlack);
    EXPECT_EQ(h.Font.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(h.GradientDirection, gdVertical);
    EXPECT_EQ(h.ButtonAlignment, baRight);
    EXPECT_EQ(h.GetButtons().count(), 0);
}

TEST(ExtDropDownAppearance, FooterDefaultsAddSizeGripAndKeepDefaultFont)
{
    TFooterAppearance f;
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(f.SizeGrip);
    EXPECT_EQ(f.Height, 22);
    EXPECT_EQ(f.Color, clSilver);
    EXPECT_EQ(f.ColorTo, clWhite);
    EXPECT_EQ(f.Font.family(), QFont().family());
    EXPECT_EQ(f.GetButtons().count(), 0);
}

TEST(ExtDropDownAppearance, OnlyAVisibleChangeNotifies)
{
    THeaderAppearance h;
    int changes = 0;
    h.OnChange = [&] { ++changes; };
    h.SetVisible(true);
    EXPECT_EQ(changes, 0);
    h.SetVisible(false);
    EXPECT_EQ(changes, 1);
    h.SetVisible(false);
    EXPECT_EQ(changes, 1);
}

// ----- button definitions ------------------------------------------------------------------

struct ButtonWriteCase {
    const char* name;
    std::function<void(TFooterButton&)> write;
    bool notifies;
};

const ButtonWriteCase kButtonWrites[] = {
    {"caption_changed", [](TFooterButton& b) { b.SetCaption(QStringLiteral("OK")); }, true},
    {"caption_same", [](TFooterButton& b) { b.SetCaption(QString()); }, false},
    {"enabled_changed", [](TFooterButton& b) { b.SetEnabled(false); }, true},
    {"enabled_same", [](TFooterButton& b) { b.SetEnabled(true); }, false},
    {"width_changed", [](TFooterButton& b) { b.SetWidth(40); }, true},
    {"width_same", [](TFooterButton& b) { b.SetWidth(0); }, false},
    // An open popup is not rebuilt for these.
    {"height_silent", [](TFooterButton& b) { b.Height = 30; }, false},
    {"image_silent", [](TFooterButton& b) { b.ImageIndex = 2; }, false},
    {"modal_result_silent", [](TFooterButton& b) { b.ModalResult = 1; }, false},
};

class ButtonWriteTable : public ::testing::TestWithParam<ButtonWriteCase> {};

TEST_P(ButtonWriteTable, ReachesTheAppearanceWhenItNotifies)
{
    TFooterAppearance f;
    int changes = 0;
    f.OnButtonsChanged = [&] { ++changes; };
    TFooterButton* b = f.GetButtons().Add();
    ASSERT_EQ(changes, 0) << "adding fires nothing";
    GetParam().write(*b);
    EXPECT_EQ(changes, GetParam().notifies ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, ButtonWriteTable, ::testing::ValuesIn(kButtonWrites), CaseName());

TEST(ExtDropDownAppearance, CollectionInsertsInOrderAndIgnoresBadIndexes)
{
    THeaderButtons buttons;
    buttons.Add()->SetCaption(QStringLiteral("b"));
    buttons.Insert(0)->SetCaption(QStringLiteral("a"));
    buttons.Insert(99)->SetCaption(QStringLiteral("c"));
    ASSERT_EQ(buttons.count(), 3);
    EXPECT_EQ(buttons.GetItem(0)->Caption(), QStringLiteral("a"));
    EXPECT_EQ(buttons.GetItem(1)->Caption(), QStringLiteral("b"));
    EXPECT_EQ(buttons.GetItem(2)->Caption(), QStringLiteral("c"));
    EXPECT_EQ(buttons.GetItem(3), nullptr);
    EXPECT_EQ(buttons.GetItem(-1), nullptr);
    buttons.Delete(7);
    buttons.Delete(1);
    ASSERT_EQ(buttons.count(), 2);
    EXPECT_EQ(buttons.GetItem(1)->Caption(), QStringLiteral("c"));
}

// ----- Assign ------------------------------------------------------------------------------

void fillFooter(TFooterAppearance& f)
{
    f.Height = 30;
    f.BorderWidth = 2;
    f.SizeGrip = false;
    f.ImageIndex = 4;
    f.Caption = QStringLiteral("<b>Total</b>");
    f.ColorTo = clNone;
    f.Color = clYellow;
    f.BorderColor = clNavy;
    f.Font.setFamily(QStringLiteral("DejaVu Serif"));
    f.GradientDirection = gdHorizontal;
    f.ButtonAlignment = baLeft;
    f.SetVisible(false);
    TFooterButton* ok = f.GetButtons().Add();
    ok->SetCaption(QStringLiteral("OK"));
    ok->ModalResult = 1;
    ok->Height = 19;
    ok->SetWidth(50);
    f.GetButtons().Add()->SetEnabled(false);
}

TEST(ExtDropDownAppearance, FooterAssignCopiesEverythingAndNotifiesVisibleOnce)
{
    TFooterAppearance src;
    fillFooter(src);
    TFooterAppearance dst;
    int changes = 0;
    int buttonChanges = 0;
    dst.OnChange = [&] { ++changes; };
    dst.OnButtonsChanged = [&] { ++buttonChanges; };
    dst.GetButtons().Add()->SetCaption(QStringLiteral("old"));
    buttonChanges = 0;

    dst.Assign(src);

    EXPECT_EQ(dst.Height, 30);
    EXPECT_EQ(dst.BorderWidth, 2);
    EXPECT_FALSE(dst.SizeGrip);
    EXPECT_EQ(dst.ImageIndex, 4);
    EXPECT_EQ(dst.Caption, src.Caption);
    EXPECT_EQ(dst.ColorTo, clNone);
    EXPECT_EQ(dst.Color, clYellow);
    EXPECT_EQ(dst.BorderColor, clNavy);
    EXPECT_EQ(dst.Font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(dst.GradientDirection, gdHorizontal);
    EXPECT_EQ(dst.ButtonAlignment, baLeft);
    EXPECT_FALSE(dst.Visible());
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(buttonChanges, 0) << "assigning the definitions is silent";

    ASSERT_EQ(dst.GetButtons().count(), 2);
    const TFooterButton* ok = dst.GetButtons().GetItem(0);
    EXPECT_EQ(ok->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(ok->ModalResult, 1);
    EXPECT_EQ(ok->Height, 19);
    EXPECT_EQ(ok->Width(), 50);
    EXPECT_FALSE(dst.GetButtons().GetItem(1)->Enabled());

    // The copies are independent, and still report to their new collection.
    dst.GetButtons().GetItem(0)->SetCaption(QStringLiteral("Yes"));
    EXPECT_EQ(src.GetButtons().GetItem(0)->Caption(), QStringLiteral("OK"));
    EXPECT_EQ(buttonChanges, 1);
}

TEST(ExtDropDownAppearance, HeaderAssignFromItselfKeepsItsButtons)
{
    THeaderAppearance h;
    h.GetButtons().Add()->SetCaption(QStringLiteral("A"));
    h.GetButtons().Add()->SetCaption(QStringLiteral("B"));
    h.Assign(h);
    ASSERT_EQ(h.GetButtons().count(), 2);
    EXPECT_EQ(h.GetButtons().GetItem(1)->Caption(), QStringLiteral("B"));
}

TEST(ExtDropDownAppearance, AssignColorsCopiesLooksOnly)
{
    TFooterAppearance src;
    fillFooter(src);
    TFooterAppearance dst;
    dst.AssignColors(src);
    EXPECT_EQ(dst.ColorTo, clNone);
    EXPECT_EQ(dst.Color, clYellow);
    EXPECT_EQ(dst.BorderColor, clNavy);
    EXPECT_EQ(dst.Font.family(), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(dst.GradientDirection, gdHorizontal);
    EXPECT_EQ(dst.Height, 22);
    EXPECT_EQ(dst.BorderWidth, 1);
    EXPECT_TRUE(dst.SizeGrip);
    EXPECT_TRUE(dst.Caption.isEmpty());
    EXPECT_TRUE(dst.Visible());
    EXPECT_EQ(dst.ButtonAlignment, baRight);
    EXPECT_EQ(dst.GetButtons().count(), 0);
}

}  // namespace
}  // namespace zfw
