#include "X11WindowCloser.h"

#include "X11Library.h"

#include <chrono>
#include <thread>

namespace hosttest
{
    struct X11WindowCloser::Connection
    {
        zelkhost::X11Library x;
        XErrorHandler previousErrorHandler = nullptr;
        Display* display = x.usable() ? x.openDisplay (nullptr) : nullptr;
        Atom protocols = 0, deleteWindow = 0, name = 0;

        /** WM_NAME (JUCE writes it as a UTF-8 string, which XFetchName skips). */
        std::string titleOf (Window window) const
        {
            Atom type = 0;
            int format = 0;
            unsigned long length = 0, remaining = 0;
            unsigned char* data = nullptr;
            std::string title;
            if (x.getProperty (display, window, name, 0, 256, False, AnyPropertyType, &type, &format, &length, &remaining, &data) == Success
                && data != nullptr)
            {
                if (format == 8)
                    title.assign (reinterpret_cast<const char*> (data), length);
                x.free (data);
            }
            return title;
        }

        Window findTopLevel (const std::string& title) const
        {
            Window root = 0, parent = 0, *children = nullptr, found = 0;
            unsigned int count = 0;
            if (x.queryTree (display, DefaultRootWindow (display), &root, &parent, &children, &count) == 0)
                return 0;
            for (unsigned int i = 0; i < count && found == 0; ++i)
                if (titleOf (children[i]) == title)
                    found = children[i];
            if (children != nullptr)
                x.free (children);
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
            if (x.queryTree (display, window, &root, &parent, &children, &count) != 0)
                for (unsigned int i = 0; i < count; ++i)
                    found = found || (x.getAttributes (display, children[i], &attributes) != 0 && attributes.width > 1);
            if (children != nullptr)
                x.free (children);
            return found;
        }
    };

    X11WindowCloser::X11WindowCloser() : connection (std::make_unique<Connection>())
    {
        auto& c = *connection;
        if (c.display == nullptr)
            return;
        // Other test programs' windows come and go on the shared display while
        // the top-level windows are searched: asking about one that has just
        // gone is no error here (Xlib's default handler would end the process).
        c.previousErrorHandler = c.x.setErrorHandler ([] (Display*, XErrorEvent*) { return 0; });
        c.protocols = c.x.internAtom (c.display, "WM_PROTOCOLS", False);
        c.deleteWindow = c.x.internAtom (c.display, "WM_DELETE_WINDOW", False);
        c.name = c.x.internAtom (c.display, "WM_NAME", False);
        c.x.flush (c.display);
    }

    X11WindowCloser::~X11WindowCloser()
    {
        if (connection->display != nullptr)
        {
            connection->x.closeDisplay (connection->display);
            connection->x.setErrorHandler (connection->previousErrorHandler);
        }
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
        // As a user does: once the window shows the plug-in's view.
        const auto window = findWindow (title, timeoutMs, true);
        if (window == 0)
            return false;

        if (way != Way::close)
        {
            (way == Way::destroy ? c.x.destroyWindow : c.x.killClient) (c.display, window);
            c.x.flush (c.display);
            return true;
        }

        XEvent event {};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = c.protocols;
        event.xclient.format = 32;
        event.xclient.data.l[0] = (long) c.deleteWindow;
        event.xclient.data.l[1] = CurrentTime;
        c.x.sendEvent (c.display, window, False, NoEventMask, &event);
        c.x.flush (c.display);
        return true;
    }
}
