#include "X11WindowWatch.h"

#include "X11Library.h"

namespace zelkhost
{
    struct X11WindowWatch::Connection
    {
        X11Library x;
        Display* display = x.usable() ? x.openDisplay (nullptr) : nullptr;
        Window window = 0;
        bool gone = false;

        ~Connection()
        {
            if (display != nullptr)
                x.closeDisplay (display);
        }
    };

    X11WindowWatch::X11WindowWatch (unsigned long window) : connection (std::make_unique<Connection>())
    {
        auto& c = *connection;
        if (c.display == nullptr || window == 0)
            return;

        c.window = window;
        c.x.selectInput (c.display, c.window, StructureNotifyMask);

        // A window destroyed before it was watched sends nothing: asking
        // about it answers (a BadWindow error, which the host's handler
        // passes over) once the selection has reached the server.
        XWindowAttributes attributes {};
        c.gone = c.x.getAttributes (c.display, c.window, &attributes) == 0;
    }

    X11WindowWatch::~X11WindowWatch() = default;

    bool X11WindowWatch::windowGone()
    {
        auto& c = *connection;
        while (! c.gone && c.display != nullptr && c.x.pending (c.display) > 0)
        {
            XEvent event {};
            c.x.nextEvent (c.display, &event);
            c.gone = event.type == DestroyNotify && event.xdestroywindow.window == c.window;
        }
        return c.gone;
    }
}
