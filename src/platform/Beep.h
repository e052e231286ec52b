#pragma once
// The short warning sound a control gives when a key finds nothing, behind a small interface so
// that tests count the beeps instead of hearing them.

namespace zfw {

class IBeeper {
public:
    virtual ~IBeeper() = default;
    // One short system sound; silent where the system has none.
    virtual void beep() = 0;
};

// The system's sound through the application (a bell on X11, nothing on offscreen platforms).
class QtBeeper final : public IBeeper {
public:
    void beep() override;
};

}  // namespace zfw
