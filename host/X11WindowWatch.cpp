#include "X11WindowWatch.h"

#include <X11/Xlib.h>

#include <dlfcn.h>

namespace zelkhost
{
    // libX11 is looked up at run time, as JUCE does, so the host links no X library.
    struct X11WindowWatch::Connection
    {
        void* xlib = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);

        template <typename Function>
        Function* get (const char* name) const
        {
            return xlib != nullptr ? reinterpret_cast<Function*> (dlsym (xlib, name)) : nullptr;
        }

        decltype (&XOpenDisplay) openDisplay = get<decltype (XOpenDisplay)> ("XOpenDisplay");
        decltype (&XCloseDisplay) closeDisplay = get<decltype (XCloseDisplay)> ("XCloseDisplay");
        decltype (&XSelectInput) selectInput = get<decltype (XSelectInput)> ("XSelectInput");
        decltype (&XGetWindowAttributes) getAttributes = get<decltype (XGetWindowAttributes)> ("XGetWindowAttributes");
        decltype (&XPending) pending = get<decltype (XPending)> ("XPending");
        decltype (&XNextEvent) nextEvent = get<decltype (XNextEvent)> ("XNextEvent");

        bool usable() const
        {
            return openDisplay != nullptr && closeDisplay != nullptr && selectInput != nullptr
                && getAttributes != nullptr && pending != nullptr && nextEvent != nullptr;
        }

        Display* display = usable() ? openDisplay (nullptr) : nullptr;
        Window window = 0;
        bool gone = false;

        ~Connection()
        {
            if (display != nullptr)
                closeDisplay (display);
            if (xlib != nullptr)
                dlclose (xlib);
        }
    };

    X11WindowWatch::X11WindowWatch (unsigned long window) : connection (std::make_unique<Connection>())
    {
        auto& c = *connection;
        if (c.display == nullptr || window == 0)
            return;

        c.window = window;
        c.selectInput (c.display, c.window, StructureNotifyMask);

        // A window destroyed before it was watched sends nothing: asking
        // about it answers (a BadWindow error, which the host's handler
        // passes over) once the selection has reached the server.
        XWindowAttributes attributes {};
        c.gone = c.getAttributes (c.display, c.window, &attributes) == 0;
    }

    X11WindowWatch::~X11WindowWatch() = default;

    bool X11WindowWatch::windowGone()
    {
        auto& c = *connection;
        while (! c.gone && c.display != nullptr && c.pending (c.display) > 0)
        {
            XEvent event {};
            c.nextEvent (c.display, &event);
            c.gone = event.type == DestroyNotify && event.xdestroywindow.window == c.window;
        }
        return c.gone;
    }
}
