#pragma once
// One guard for every state, bracket or counter an operation opens and must close again on
// every way out, exceptions included.
//
// The closing step runs when the guard goes out of scope. When the scope is left by an
// exception, a closing step that throws as well is dropped: the first failure is the one the
// caller hears of. On a normal exit the closing step's own exception passes on, and guards
// declared before it still run (they see the exception in flight). So several guards close in
// reverse order of declaration, each once, and the first failure wins.
//
// dismiss() turns a guard off, for steps that only undo a half-done operation when it fails.

#include <exception>
#include <utility>

namespace zfw {

template <class Close>
class ScopeGuard {
public:
    explicit ScopeGuard(Close close) : m_close(std::move(close)) {}
    ScopeGuard(const ScopeGuard&) = delete;
    ScopeGuard& operator=(const ScopeGuard&) = delete;
    ~ScopeGuard() noexcept(false)
    {
        if (!m_active)
            return;
        if (std::uncaught_exceptions() > m_uncaught) {
            try {
                m_close();
            } catch (...) {
            }
        } else {
            m_close();
        }
    }
    void dismiss() { m_active = false; }

private:
    Close m_close;
    int m_uncaught = std::uncaught_exceptions();
    bool m_active = true;
};

}  // namespace zfw
