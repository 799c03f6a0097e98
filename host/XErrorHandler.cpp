#include "XErrorHandler.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace zelkhost
{
    namespace
    {
        // libX11 is looked up at run time, as JUCE does, so the kit links no X library.
        template <typename Function>
        Function* xlibFunction (const char* name)
        {
            void* xlib = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
            return xlib != nullptr ? reinterpret_cast<Function*> (dlsym (xlib, name)) : nullptr;
        }

        using ErrorHandler = int (*) (void*, void*);
        using IOErrorHandler = int (*) (void*);

        std::function<int()>& displayLossAction()
        {
            static std::function<int()> action;
            return action;
        }
    }

    void installHostXErrorHandler()
    {
        if (auto setHandler = xlibFunction<ErrorHandler (ErrorHandler)> ("XSetErrorHandler"))
            setHandler ([] (void*, void*) { return 0; });
    }

    void installDisplayLossHandler()
    {
        if (auto setHandler = xlibFunction<IOErrorHandler (IOErrorHandler)> ("XSetIOErrorHandler"))
            setHandler ([] (void*) -> int
            {
                std::fputs ("zelk_host: the connection to the display was lost\n", stderr);
                std::_Exit (displayLossAction() ? displayLossAction()() : 1);
            });
    }

    void setDisplayLossAction (std::function<int()> action)
    {
        displayLossAction() = std::move (action);
    }
}
