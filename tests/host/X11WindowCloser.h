// Closes another program's top-level window as a user does with the window's
// close button (the window manager's WM_DELETE_WINDOW message), or ends it
// from outside as a window manager or xdotool may: destroys the window, or
// kills the program's connection to the display.
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

        enum class Way { close, destroy, killClient };

        /** Waits up to `timeoutMs` for a top-level window titled `title` to
            hold the plug-in's view, as a user sees it, and closes it the given
            way; false when none appeared. */
        bool closeWindowTitled (const std::string& title, int timeoutMs, Way way = Way::close);

        /** Waits as above; true once such a window is there. */
        bool waitForWindowTitled (const std::string& title, int timeoutMs) { return findWindow (title, timeoutMs, false) != 0; }

    private:
        /** With content: only once a view (the plug-in's) is inside it. */
        unsigned long findWindow (const std::string& title, int timeoutMs, bool withContent);

        struct Connection;
        std::unique_ptr<Connection> connection;
    };
}
