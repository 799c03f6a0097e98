#include "X11Library.h"

#include <dlfcn.h>

namespace zelkhost
{
    namespace
    {
        template <typename Function>
        void lookUp (void* library, Function*& function, const char* name)
        {
            function = library != nullptr ? reinterpret_cast<Function*> (dlsym (library, name)) : nullptr;
        }
    }

    X11Library::X11Library() : handle (dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL))
    {
        lookUp (handle, openDisplay, "XOpenDisplay");
        lookUp (handle, closeDisplay, "XCloseDisplay");
        lookUp (handle, flush, "XFlush");
        lookUp (handle, free, "XFree");
        lookUp (handle, setErrorHandler, "XSetErrorHandler");
        lookUp (handle, internAtom, "XInternAtom");
        lookUp (handle, selectInput, "XSelectInput");
        lookUp (handle, pending, "XPending");
        lookUp (handle, nextEvent, "XNextEvent");
        lookUp (handle, sendEvent, "XSendEvent");
        lookUp (handle, queryTree, "XQueryTree");
        lookUp (handle, getAttributes, "XGetWindowAttributes");
        lookUp (handle, getProperty, "XGetWindowProperty");
        lookUp (handle, destroyWindow, "XDestroyWindow");
        lookUp (handle, killClient, "XKillClient");
    }

    X11Library::~X11Library()
    {
        if (handle != nullptr)
            dlclose (handle);
    }

    bool X11Library::usable() const
    {
        return openDisplay != nullptr && closeDisplay != nullptr && flush != nullptr && free != nullptr
            && setErrorHandler != nullptr && internAtom != nullptr && selectInput != nullptr && pending != nullptr
            && nextEvent != nullptr && sendEvent != nullptr && queryTree != nullptr && getAttributes != nullptr
            && getProperty != nullptr && destroyWindow != nullptr && killClient != nullptr;
    }
}
