// The clipboard's contract, run against the application's clipboard (the offscreen platform
// keeps one in the process) and against the fake that tests of its callers use.

#include "platform/Clipboard.h"

#include "support/FakeClipboard.h"

#include <gtest/gtest.h>

#include <type_traits>

namespace zfw {
namespace {

using test::FakeClipboard;

const QString kGridCells = QStringLiteral("TExtStringGrid Cells");

template <typename T>
class ClipboardContract : public ::testing::Test {
protected:
    T clipboard;
    IClipboard& cb = clipboard;
};

using Implementations = ::testing::Types<QtClipboard, FakeClipboard>;

class ImplementationNames {
public:
    template <typename T>
    static std::string GetName(int)
    {
        return std::is_same_v<T, QtClipboard> ? "Qt" : "Fake";
    }
};

TYPED_TEST_SUITE(ClipboardContract, Implementations, ImplementationNames);

TYPED_TEST(ClipboardContract, OneCopyCarriesTextAndNamedFormatsTogether)
{
    IClipboard& cb = this->cb;
    cb.setContents({QStringLiteral("a\tb\r\n"),
                    {{kGridCells, QByteArray("\x01\x00\x02", 3)},
                     {QStringLiteral("text/html"), "<td>a</td>"}}});
    EXPECT_EQ(cb.text(), QStringLiteral("a\tb\r\n"));
    EXPECT_TRUE(cb.hasFormat(kGridCells));
    EXPECT_EQ(cb.data(kGridCells), QByteArray("\x01\x00\x02", 3));
    EXPECT_EQ(cb.data(QStringLiteral("text/html")), "<td>a</td>");
    EXPECT_FALSE(cb.hasFormat(QStringLiteral("TExtStringGrid Rows")));
    EXPECT_TRUE(cb.data(QStringLiteral("TExtStringGrid Rows")).isEmpty());
}

TYPED_TEST(ClipboardContract, SettingTextReplacesTheNamedFormats)
{
    IClipboard& cb = this->cb;
    cb.setContents({QStringLiteral("old"), {{kGridCells, "cells"}}});
    cb.setText(QStringLiteral("Fran\u00E7ais \u20AC"), ClipboardMode::Clipboard);
    EXPECT_EQ(cb.text(ClipboardMode::Clipboard), QStringLiteral("Fran\u00E7ais \u20AC"));
    EXPECT_FALSE(cb.hasFormat(kGridCells));
}

TYPED_TEST(ClipboardContract, DataWithoutTextHasNoText)
{
    IClipboard& cb = this->cb;
    cb.setText(QStringLiteral("before"), ClipboardMode::Clipboard);
    cb.setContents({QString(), {{kGridCells, "cells"}}});
    EXPECT_TRUE(cb.text(ClipboardMode::Clipboard).isEmpty());
    EXPECT_EQ(cb.data(kGridCells), "cells");
}

TYPED_TEST(ClipboardContract, WithoutASelectionClipboardTheSelectionReadsNothing)
{
    IClipboard& cb = this->cb;
    ASSERT_FALSE(cb.supportsSelection()) << "the offscreen platform has no selection";
    cb.setText(QStringLiteral("kept"), ClipboardMode::Clipboard);
    cb.setText(QStringLiteral("selected"), ClipboardMode::Selection);
    EXPECT_TRUE(cb.text(ClipboardMode::Selection).isEmpty());
    EXPECT_EQ(cb.text(ClipboardMode::Clipboard), QStringLiteral("kept"));
}

TEST(ClipboardFormat, NamedFormatsTravelUnderOneMimeTypeMimeTypesUnchanged)
{
    EXPECT_EQ(clipboardMimeType(kGridCells),
              QStringLiteral("application/x-qt-windows-mime;value=\"TExtStringGrid Cells\""));
    EXPECT_EQ(clipboardMimeType(QStringLiteral("text/csv")), QStringLiteral("text/csv"));
}

}  // namespace
}  // namespace zfw
