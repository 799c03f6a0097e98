// Notices when the host's top-level X11 window is destroyed from outside (a
// window manager ending it, `xdotool windowclose`): JUCE passes over the
// DestroyNotify, so the host would wait for ever for a close request.
#pragma once

#include <memory>

namespace zelkhost
{
    class X11WindowWatch
    {
    public:
        /** Watches the window through a connection of its own to the display
            (StructureNotify). Watches nothing without libX11 or a display. */
        explicit X11WindowWatch (unsigned long window);
        ~X11WindowWatch();

        X11WindowWatch (const X11WindowWatch&) = delete;
        X11WindowWatch& operator= (const X11WindowWatch&) = delete;

        /** True once the window has been destroyed; never waits. */
        bool windowGone();

    private:
        struct Connection;
        std::unique_ptr<Connection> connection;
    };
}
