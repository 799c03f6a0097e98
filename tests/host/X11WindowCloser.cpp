#include "X11WindowCloser.h"

#include <X11/Xlib.h>

#include <chrono>
#include <dlfcn.h>
#include <thread>

namespace hosttest
{
    // libX11 is loaded at run time, as JUCE does, so the tests link no X library.
    struct X11WindowCloser::Connection
    {
        void* xlib = dlopen ("libX11.so.6", RTLD_LAZY);
        template <typename Function> Function* get (const char* name) const
        {
            return xlib != nullptr ? reinterpret_cast<Function*> (dlsym (xlib, name)) : nullptr;
        }
        decltype (&XOpenDisplay) openDisplay = get<decltype (XOpenDisplay)> ("XOpenDisplay");
        decltype (&XCloseDisplay) closeDisplay = get<decltype (XCloseDisplay)> ("XCloseDisplay");
        decltype (&XQueryTree) queryTree = get<decltype (XQueryTree)> ("XQueryTree");
        decltype (&XGetWindowProperty) getProperty = get<decltype (XGetWindowProperty)> ("XGetWindowProperty");
        decltype (&XFree) free = get<decltype (XFree)> ("XFree");
        decltype (&XInternAtom) internAtom = get<decltype (XInternAtom)> ("XInternAtom");
        decltype (&XSendEvent) sendEvent = get<decltype (XSendEvent)> ("XSendEvent");
        decltype (&XDestroyWindow) destroyWindow = get<decltype (XDestroyWindow)> ("XDestroyWindow");
        decltype (&XKillClient) killClient = get<decltype (XKillClient)> ("XKillClient");
        decltype (&XGetWindowAttributes) getAttributes = get<decltype (XGetWindowAttributes)> ("XGetWindowAttributes");
        decltype (&XFlush) flush = get<decltype (XFlush)> ("XFlush");
        decltype (&XSetErrorHandler) setErrorHandler = get<decltype (XSetErrorHandler)> ("XSetErrorHandler");
        XErrorHandler previousErrorHandler = nullptr;
        Display* display = openDisplay != nullptr ? openDisplay (nullptr) : nullptr;
        Atom protocols = 0, deleteWindow = 0, name = 0;

        /** WM_NAME (JUCE writes it as a UTF-8 string, which XFetchName skips). */
        std::string titleOf (Window window) const
        {
            Atom type = 0;
            int format = 0;
            unsigned long length = 0, remaining = 0;
            unsigned char* data = nullptr;
            std::string title;
            if (getProperty (display, window, name, 0, 256, False, AnyPropertyType, &type, &format, &length, &remaining, &data) == Success
                && data != nullptr)
            {
                if (format == 8)
                    title.assign (reinterpret_cast<const char*> (data), length);
                free (data);
            }
            return title;
        }

        Window findTopLevel (const std::string& title) const
        {
            Window root = 0, parent = 0, *children = nullptr, found = 0;
            unsigned int count = 0;
            if (queryTree (display, DefaultRootWindow (display), &root, &parent, &children, &count) == 0)
                return 0;
            for (unsigned int i = 0; i < count && found == 0; ++i)
                if (titleOf (children[i]) == title)
                    found = children[i];
            if (children != nullptr)
                free (children);
            return found;
        }

        /** Whether a view is inside `window`: a child larger than JUCE's
            1 x 1 pixel keyboard focus window. */
        bool holdsAView (Window window) const
        {
            Window root = 0, parent = 0, *children = nullptr;
            unsigned int count = 0;
            bool found = false;
            XWindowAttributes attributes {};
            if (queryTree (display, window, &root, &parent, &children, &count) != 0)
                for (unsigned int i = 0; i < count; ++i)
                    found = found || (getAttributes (display, children[i], &attributes) != 0 && attributes.width > 1);
            if (children != nullptr)
                free (children);
            return found;
        }
    };

    X11WindowCloser::X11WindowCloser() : connection (std::make_unique<Connection>())
    {
        auto& c = *connection;
        if (c.display == nullptr || c.internAtom == nullptr)
            return;
        // Other test programs' windows come and go on the shared display while
        // the top-level windows are searched: asking about one that has just
        // gone is no error here (Xlib's default handler would end the process).
        if (c.setErrorHandler != nullptr)
            c.previousErrorHandler = c.setErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
        c.protocols = c.internAtom (c.display, "WM_PROTOCOLS", False);
        c.deleteWindow = c.internAtom (c.display, "WM_DELETE_WINDOW", False);
        c.name = c.internAtom (c.display, "WM_NAME", False);
        c.flush (c.display);
    }

    X11WindowCloser::~X11WindowCloser()
    {
        if (connection->display != nullptr)
        {
            connection->closeDisplay (connection->display);
            if (connection->setErrorHandler != nullptr)
                connection->setErrorHandler (connection->previousErrorHandler);
        }
        if (connection->xlib != nullptr)
            dlclose (connection->xlib);
    }

    unsigned long X11WindowCloser::findWindow (const std::string& title, int timeoutMs, bool withContent)
    {
        auto& c = *connection;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds (timeoutMs);
        Window window = 0;
        while (c.display != nullptr && c.protocols != 0
               && ((window = c.findTopLevel (title)) == 0 || (withContent && ! c.holdsAView (window)))
               && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for (std::chrono::milliseconds (50));
        return withContent && ! c.holdsAView (window) ? 0 : window;
    }

    bool X11WindowCloser::closeWindowTitled (const std::string& title, int timeoutMs, Way way)
    {
        auto& c = *connection;
        const auto window = findWindow (title, timeoutMs, way == Way::killClient);
        if (window == 0)
            return false;

        if (way != Way::close)
        {
            (way == Way::destroy ? c.destroyWindow : c.killClient) (c.display, window);
            c.flush (c.display);
            return true;
        }

        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = c.protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long) c.deleteWindow;
        event.xclient.data.l[1] = CurrentTime;
        c.sendEvent (c.display, window, False, NoEventMask, &event);
        c.flush (c.display);
        return true;
    }
}
