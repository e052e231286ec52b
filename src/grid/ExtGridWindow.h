#pragma once
// What the string grid's window helpers need besides the grid: the scroll-bar setting, the
// change notifier and selection listener it keeps, and the locale helpers.

#include "platform/Rect.h"

#include <QChar>
#include <QList>
#include <QLocale>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>

class QWidget;

namespace zfw {

// Scroll bars that stay shown when everything fits.
enum TScrollBarAlways : std::uint8_t { saNone, saVert, saHorz, saBoth };

// Told by the grids it is registered with about changed cells; the base does nothing.
class TGridChangeNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    // The cells of R (real columns, display rows) changed.
    virtual void CellsChanged(const TRect& R) {}
};

// The grid's selection listener (told of selection changes by the selection code).
class ITExtStringGridSelect {
public:
    virtual ~ITExtStringGridSelect() = default;
};

// The separators and formats of a locale (by default the process's), for parsing, sorting,
// pasting and the numeric editors. The date and time separators are the first character of
// the short format that is neither a letter nor a space.
QChar GetTimeSeparatorSetting(const QLocale& locale = QLocale());
QChar GetDateSeparatorSetting(const QLocale& locale = QLocale());
QChar GetThousandSeparatorSetting(const QLocale& locale = QLocale());
QChar GetDecimalSeparatorSetting(const QLocale& locale = QLocale());
QString GetShortDateFormatSetting(const QLocale& locale = QLocale());
QString GetShortTimeFormatSetting(const QLocale& locale = QLocale());
QString GetLongTimeFormatSetting(const QLocale& locale = QLocale());

// The top-level window that holds Control, found by walking up from its parent; null for a
// control that no window holds.
QWidget* FindParentForm(const QWidget* Control);
// Kept for callers that ask for a see-through top-level window: the windows here paint their
// own background, so there is nothing to switch and the call does nothing.
void SetWindowTransparentStyle(QWidget* Window);

}  // namespace zfw
