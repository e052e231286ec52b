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

}  // namespace zfw
