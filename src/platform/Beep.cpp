#include "platform/Beep.h"

#include <QApplication>

namespace zfw {

void QtBeeper::beep() { QApplication::beep(); }

}  // namespace zfw
