// Closes another program's top-level window as a user would with the
// window's close button: the window manager's WM_DELETE_WINDOW message.
#pragma once

#include <string>

#include <memory>

namespace hosttest
{
    class X11WindowCloser
    {
    public:
        /** Connects to the display named by DISPLAY and makes sure the window
            manager's atoms exist (a bare X server has none until a window
            manager runs; programs look them up when they start), so make
            the closer before starting the program. */
        X11WindowCloser();
        ~X11WindowCloser();

        /** Waits up to `timeoutMs` for a window titled `title` and asks it to
            close. False when none appeared or there is no display. */
        bool closeWindowTitled (const std::string& title, int timeoutMs);

    private:
        struct Connection;
        std::unique_ptr<Connection> connection;
    };
}
