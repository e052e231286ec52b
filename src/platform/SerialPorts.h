#pragma once
// Serial ports of this machine.

#include <QStringList>

namespace zfw {

// The serial ports present, as device names ("ttyS0", "ttyUSB0") in ascending order. The
// system has no COM numbers, so the names stand in for them and callers show them as they
// are. The ports are taken from the system's device information and never opened: opening
// a USB serial adapter only to probe it toggles its control lines and can reset the board
// behind it. A port that another program holds open is listed too.
QStringList Get_COM_Port_List();

// Port names in ascending order, a trailing number compared by its value, so that
// "ttyS2" comes before "ttyS10".
QStringList sortPortNames(QStringList names);

}  // namespace zfw
