#pragma once

#include <functional>

namespace zelkhost
{
    /** Puts up the host's own X error handler, as hosts do: Xlib's default ends
        the process on the first harmless error (a window manager's atom missing
        on a bare X server, a window that has just gone), and a handler a
        plug-in installs goes when its bundle is unloaded. Does nothing when
        libX11 is not loaded. */
    void installHostXErrorHandler();

    /** Puts up the host's handler for a lost connection to the display (the X
        server ending, or the window manager killing the host's client as
        `xkill` does). Xlib would end the process with every thread still
        running; this handler says so, runs the action set below and ends the
        process at once with the status the action returns (1 without one).
        Xlib calls the handler put up last: put it up again once a plug-in
        may have put up its own (when its view has opened). */
    void installDisplayLossHandler();

    /** What the handler above runs; it may be changed at any time on the
        thread that runs the host's windows. */
    void setDisplayLossAction (std::function<int()> action);
}
