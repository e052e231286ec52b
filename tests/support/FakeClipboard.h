#pragma once
// A clipboard of the test's own: what the code under test put there and what it reads from
// there, without touching the clipboard of the session the tests run in.

#include "platform/Clipboard.h"

namespace zfw::test {

class FakeClipboard final : public IClipboard {
public:
    QString text(ClipboardMode mode = ClipboardMode::Clipboard) const override
    {
        ++reads;
        if (mode == ClipboardMode::Selection)
            return hasSelection ? selection : QString();
        return contents.text;
    }
    void setText(const QString& text, ClipboardMode mode = ClipboardMode::Clipboard) override
    {
        if (mode == ClipboardMode::Selection) {
            if (hasSelection)
                selection = text;
            return;
        }
        ++writes;
        contents = {text, {}};
    }
    bool hasFormat(const QString& name) const override { return find(name) != nullptr; }
    QByteArray data(const QString& name) const override
    {
        ++reads;
        const QByteArray* d = find(name);
        return d ? *d : QByteArray();
    }
    void setContents(const ClipboardContents& c) override
    {
        ++writes;
        contents = c;
    }
    bool supportsSelection() const override { return hasSelection; }

    ClipboardContents contents;
    // The X11 selection: off by default, as on the offscreen platform.
    bool hasSelection = false;
    QString selection;
    // Writes to the clipboard proper and reads of text or data in either mode.
    int writes = 0;
    mutable int reads = 0;

private:
    const QByteArray* find(const QString& name) const
    {
        for (const auto& [n, d] : contents.formats)
            if (n == name)
                return &d;
        return nullptr;
    }
};

}  // namespace zfw::test
