#include "XErrorHandler.h"

#include <dlfcn.h>

namespace zelkhost
{
    void installHostXErrorHandler()
    {
        // libX11 is looked up at run time, as JUCE does, so the kit links no X library.
        using ErrorHandler = int (*) (void*, void*);
        using SetErrorHandler = ErrorHandler (*) (ErrorHandler);

        if (void* xlib = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD))
            if (auto setHandler = reinterpret_cast<SetErrorHandler> (dlsym (xlib, "XSetErrorHandler")))
                setHandler ([] (void*, void*) { return 0; });
    }
}
