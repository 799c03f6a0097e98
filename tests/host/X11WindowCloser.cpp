#include "X11WindowCloser.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <thread>

namespace hosttest
{
    namespace
    {
        // libX11 is loaded at run time, as JUCE does, so the tests link no X library.
        struct Xlib
        {
            void* module = dlopen ("libX11.so.6", RTLD_LAZY);
            ~Xlib() { if (module != nullptr) dlclose (module); }
            template <typename Function> Function* get (const char* name) const
            {
                return module != nullptr ? reinterpret_cast<Function*> (dlsym (module, name)) : nullptr;
            }
            decltype (&XOpenDisplay) openDisplay = get<decltype (XOpenDisplay)> ("XOpenDisplay");
            decltype (&XCloseDisplay) closeDisplay = get<decltype (XCloseDisplay)> ("XCloseDisplay");
            decltype (&XQueryTree) queryTree = get<decltype (XQueryTree)> ("XQueryTree");
            decltype (&XGetWindowProperty) getProperty = get<decltype (XGetWindowProperty)> ("XGetWindowProperty");
            decltype (&XFree) free = get<decltype (XFree)> ("XFree");
            decltype (&XInternAtom) internAtom = get<decltype (XInternAtom)> ("XInternAtom");
            decltype (&XSendEvent) sendEvent = get<decltype (XSendEvent)> ("XSendEvent");
            decltype (&XFlush) flush = get<decltype (XFlush)> ("XFlush");

            bool usable() const { return openDisplay && closeDisplay && queryTree && getProperty && free && internAtom && sendEvent && flush; }
        };

        /** The window's title (WM_NAME, which may be a UTF-8 string, or _NET_WM_NAME). */
        std::string titleOf (const Xlib& x, Display* display, Window window)
        {
            for (const auto* property : { "WM_NAME", "_NET_WM_NAME" })
            {
                Atom type = 0;
                int format = 0;
                unsigned long length = 0, remaining = 0;
                unsigned char* data = nullptr;
                std::string title;
                if (x.getProperty (display, window, x.internAtom (display, property, False), 0, 256, False,
                                   AnyPropertyType, &type, &format, &length, &remaining, &data) == Success && data != nullptr)
                {
                    if (format == 8)
                        title.assign (reinterpret_cast<const char*> (data), length);
                    x.free (data);
                }
                if (! title.empty())
                    return title;
            }
            return {};
        }

        Window findTitled (const Xlib& x, Display* display, Window parent, const std::string& title)
        {
            Window root = 0, parentOfParent = 0, *children = nullptr;
            unsigned int count = 0;
            if (x.queryTree (display, parent, &root, &parentOfParent, &children, &count) == 0)
                return 0;

            Window found = 0;
            for (unsigned int i = 0; i < count && found == 0; ++i)
            {
                if (titleOf (x, display, children[i]) == title)
                    found = children[i];
                else
                    found = findTitled (x, display, children[i], title);
            }
            if (children != nullptr)
                x.free (children);
            return found;
        }
    }

    struct X11WindowCloser::Connection
    {
        Xlib x;
        Display* display = nullptr;
        Atom protocols = 0, deleteWindow = 0;
    };

    X11WindowCloser::X11WindowCloser() : connection (std::make_unique<Connection>())
    {
        auto& c = *connection;
        if (! c.x.usable() || (c.display = c.x.openDisplay (nullptr)) == nullptr)
            return;
        c.protocols = c.x.internAtom (c.display, "WM_PROTOCOLS", False);
        c.deleteWindow = c.x.internAtom (c.display, "WM_DELETE_WINDOW", False);
        c.x.flush (c.display);
    }

    X11WindowCloser::~X11WindowCloser()
    {
        if (connection->display != nullptr)
            connection->x.closeDisplay (connection->display);
    }

    bool X11WindowCloser::closeWindowTitled (const std::string& title, int timeoutMs)
    {
        auto& c = *connection;
        if (c.display == nullptr)
            return false;
        const auto& x = c.x;
        Display* display = c.display;

        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);
        Window window = 0;
        while (window == 0 && std::chrono::steady_clock::now() < deadline)
        {
            window = findTitled (x, display, DefaultRootWindow (display), title);
            if (window == 0)
                std::this_thread::sleep_for (std::chrono::milliseconds (50));
        }
        if (window == 0)
            return false;

        XEvent event;
        std::memset (&event, 0, sizeof (event));
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = c.protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long) c.deleteWindow;
        event.xclient.data.l[1] = CurrentTime;
        x.sendEvent (display, window, False, NoEventMask, &event);
        x.flush (display);
        return true;
    }
}
