#pragma once
// A clipboard of the test's own: what the code under test put there and what it reads from
// there, without touching the clipboard of the session the tests run in.

#include "platform/Clipboard.h"

#include <QMimeData>

#include <memory>

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
        mime.reset();
        contents = {text, {}};
    }
    bool hasFormat(const QString& name) const override
    {
        return mime ? mime->hasFormat(name) : find(name) != nullptr;
    }
    QByteArray data(const QString& name) const override
    {
        ++reads;
        if (mime)
            return mime->data(name);
        const QByteArray* d = find(name);
        return d ? *d : QByteArray();
    }
    void setContents(const ClipboardContents& c) override
    {
        ++writes;
        mime.reset();
        contents = c;
    }
    // Like the system clipboard, the fake destroys the data it held when it is replaced.
    void setMimeData(std::unique_ptr<QMimeData> data) override
    {
        ++writes;
        contents = {};
        mime = std::move(data);
    }
    const QMimeData* mimeData() const override { return mime.get(); }
    bool supportsSelection() const override { return hasSelection; }

    ClipboardContents contents;
    std::unique_ptr<QMimeData> mime;
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
