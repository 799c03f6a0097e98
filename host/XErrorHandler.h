#pragma once

namespace zelkhost
{
    /** Puts up the host's own X error handler, as hosts do: Xlib's default ends
        the process on the first harmless error (a window manager's atom missing
        on a bare X server, a window that has just gone), and a handler a
        plug-in installs goes when its bundle is unloaded. Does nothing when
        libX11 is not loaded. */
    void installHostXErrorHandler();
}
