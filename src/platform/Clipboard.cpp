#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace zfw {

namespace {

QClipboard* appClipboard()
{
    // Without an application object (a widget-free tool) there is no clipboard to use.
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

// The Qt mode for mode, or false when the system has no such clipboard.
bool qtMode(const QClipboard* cb, ClipboardMode mode, QClipboard::Mode* out)
{
    if (!cb)
        return false;
    if (mode == ClipboardMode::Selection) {
        if (!cb->supportsSelection())
            return false;
        *out = QClipboard::Selection;
        return true;
    }
    *out = QClipboard::Clipboard;
    return true;
}

}  // namespace

QString clipboardMimeType(const QString& formatName)
{
    if (formatName.contains(QLatin1Char('/')))
        return formatName;
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(formatName);
}

QString QtClipboard::text(ClipboardMode mode) const
{
    const QClipboard* cb = appClipboard();
    QClipboard::Mode m;
    return qtMode(cb, mode, &m) ? cb->text(m) : QString();
}

void QtClipboard::setText(const QString& text, ClipboardMode mode)
{
    QClipboard* cb = appClipboard();
    QClipboard::Mode m;
    if (qtMode(cb, mode, &m))
        cb->setText(text, m);
}

bool QtClipboard::hasFormat(const QString& name) const
{
    const QClipboard* cb = appClipboard();
    const QMimeData* d = cb ? cb->mimeData() : nullptr;
    return d && d->hasFormat(clipboardMimeType(name));
}

QByteArray QtClipboard::data(const QString& name) const
{
    const QClipboard* cb = appClipboard();
    const QMimeData* d = cb ? cb->mimeData() : nullptr;
    return d ? d->data(clipboardMimeType(name)) : QByteArray();
}

void QtClipboard::setContents(const ClipboardContents& contents)
{
    QClipboard* cb = appClipboard();
    if (!cb)
        return;
    auto* d = new QMimeData;
    if (!contents.text.isNull())
        d->setText(contents.text);
    for (const auto& [name, bytes] : contents.formats)
        d->setData(clipboardMimeType(name), bytes);
    cb->setMimeData(d);  // the clipboard takes the data over
}

void QtClipboard::setMimeData(std::unique_ptr<QMimeData> data)
{
    if (QClipboard* cb = appClipboard())
        cb->setMimeData(data.release());  // the clipboard deletes it when replaced
}

const QMimeData* QtClipboard::mimeData() const
{
    const QClipboard* cb = appClipboard();
    return cb ? cb->mimeData() : nullptr;
}

bool QtClipboard::supportsSelection() const
{
    const QClipboard* cb = appClipboard();
    return cb && cb->supportsSelection();
}

IClipboard& systemClipboard()
{
    static QtClipboard clipboard;
    return clipboard;
}

}  // namespace zfw
