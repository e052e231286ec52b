#pragma once
// The clipboard behind a small interface, so that copying and pasting can be tested with a
// fake and only this layer talks to the system's clipboard.
//
// Besides plain text the clipboard carries data of a named format (for instance the grid's
// "TExtStringGrid Cells"), which another window of the program, or another program that knows
// the name, can read back.

#include <QByteArray>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

class QMimeData;

namespace zfw {

// The system clipboard proper, or the selection that X11 pastes with the middle button.
enum class ClipboardMode { Clipboard, Selection };

// What one copy puts on the clipboard: a text and any number of named formats, together.
struct ClipboardContents {
    QString text;
    std::vector<std::pair<QString, QByteArray>> formats;  // (format name, data)
};

class IClipboard {
public:
    virtual ~IClipboard() = default;

    // Text on the clipboard; empty when it holds none (or no selection exists).
    virtual QString text(ClipboardMode mode = ClipboardMode::Clipboard) const = 0;
    // Replaces everything on the clipboard with text. The selection is set only where the
    // system has one.
    virtual void setText(const QString& text, ClipboardMode mode = ClipboardMode::Clipboard) = 0;

    // The clipboard holds data of the named format.
    virtual bool hasFormat(const QString& name) const = 0;
    // Data of the named format; empty when the clipboard holds none.
    virtual QByteArray data(const QString& name) const = 0;
    // Replaces everything on the clipboard with contents, as one copy.
    virtual void setContents(const ClipboardContents& contents) = 0;

    // The system has a selection clipboard (X11); elsewhere the Selection mode reads nothing.
    virtual bool supportsSelection() const = 0;

    // Puts data that renders its formats when they are asked for. The clipboard owns it and
    // destroys it when anything else is put on the clipboard.
    virtual void setMimeData(std::unique_ptr<QMimeData> data) = 0;
    // What the clipboard holds now; nil when empty. Valid until the clipboard changes.
    virtual const QMimeData* mimeData() const = 0;
};

// The application's clipboard (QGuiApplication::clipboard). A format name that is not a MIME
// type is carried under the name that a registered format of that name has on Windows, so the
// same name reaches other programs there.
class QtClipboard final : public IClipboard {
public:
    QString text(ClipboardMode mode) const override;
    void setText(const QString& text, ClipboardMode mode) override;
    bool hasFormat(const QString& name) const override;
    QByteArray data(const QString& name) const override;
    void setContents(const ClipboardContents& contents) override;
    bool supportsSelection() const override;
    void setMimeData(std::unique_ptr<QMimeData> data) override;
    const QMimeData* mimeData() const override;
};

// The MIME type under which a named clipboard format is carried.
QString clipboardMimeType(const QString& formatName);

// The system's clipboard as an IClipboard; it keeps no state of its own.
IClipboard& systemClipboard();

}  // namespace zfw
