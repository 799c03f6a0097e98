// Closes another program's top-level window as a user does with the window's
// close button (the window manager's WM_DELETE_WINDOW message), or destroys it
// from outside as a window manager or `xdotool windowclose` may.
#pragma once

#include <memory>
#include <string>

namespace hosttest
{
    class X11WindowCloser
    {
    public:
        /** Connects to DISPLAY and makes sure the window manager's atoms exist
            (a bare X server has none, and programs look them up when they
            start), so make the closer before starting the program. */
        X11WindowCloser();
        ~X11WindowCloser();

        /** Waits up to `timeoutMs` for a top-level window titled `title` and
            asks it to close, or destroys it; false when none appeared. */
        bool closeWindowTitled (const std::string& title, int timeoutMs, bool destroy = false);

        /** Waits as above; true once such a window is there. */
        bool waitForWindowTitled (const std::string& title, int timeoutMs) { return findWindow (title, timeoutMs) != 0; }

    private:
        unsigned long findWindow (const std::string& title, int timeoutMs);

        struct Connection;
        std::unique_ptr<Connection> connection;
    };
}
