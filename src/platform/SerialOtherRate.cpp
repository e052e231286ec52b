// The kernel's termios2 interface for a bit rate without a standard code. Its header defines
// the same names as <termios.h>, so it lives in a unit of its own.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <cstdint>

namespace zfw {

bool setOtherSerialRate(int fd, std::uint32_t rate)
{
    struct termios2 t {};
    if (ioctl(fd, TCGETS2, &t) != 0)
        return false;
    t.c_cflag &= ~CBAUD;
    t.c_cflag |= BOTHER;
    t.c_ispeed = rate;
    t.c_ospeed = rate;
    return ioctl(fd, TCSETS2, &t) == 0;
}

}  // namespace zfw
