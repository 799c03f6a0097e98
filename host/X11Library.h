// libX11, looked up at run time as JUCE does, so that neither the host nor
// its tests link an X library: the functions they call, in one table.
#pragma once

#include <X11/Xlib.h>

namespace zelkhost
{
    class X11Library
    {
    public:
        /** Loads libX11; without it every function below stays null. */
        X11Library();
        ~X11Library();

        X11Library (const X11Library&) = delete;
        X11Library& operator= (const X11Library&) = delete;

        /** True when libX11 was loaded and has every function below. */
        bool usable() const;

        decltype (&XOpenDisplay) openDisplay = nullptr;
        decltype (&XCloseDisplay) closeDisplay = nullptr;
        decltype (&XFlush) flush = nullptr;
        decltype (&XFree) free = nullptr;
        decltype (&XSetErrorHandler) setErrorHandler = nullptr;
        decltype (&XInternAtom) internAtom = nullptr;
        decltype (&XSelectInput) selectInput = nullptr;
        decltype (&XPending) pending = nullptr;
        decltype (&XNextEvent) nextEvent = nullptr;
        decltype (&XSendEvent) sendEvent = nullptr;
        decltype (&XQueryTree) queryTree = nullptr;
        decltype (&XGetWindowAttributes) getAttributes = nullptr;
        decltype (&XGetWindowProperty) getProperty = nullptr;
        decltype (&XDestroyWindow) destroyWindow = nullptr;
        decltype (&XKillClient) killClient = nullptr;

    private:
        void* handle = nullptr;
    };
}
