// Apart from the test headers: Xlib's macros clash with names in JUCE and GoogleTest.
#include "WindowTestSupport.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

void windowtest::clickThroughX11 (juce::Component& target, int heldMilliseconds, bool focusElsewhereFirst)
{
    static void* const x11 = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);   // looked up at run time, as JUCE does
    auto* display = x11 != nullptr ? reinterpret_cast<decltype (&XOpenDisplay)> (dlsym (x11, "XOpenDisplay")) (nullptr) : nullptr;
    ASSERT_NE (display, nullptr);
    if (focusElsewhereFirst)
        reinterpret_cast<decltype (&XSetInputFocus)> (dlsym (x11, "XSetInputFocus")) (display, DefaultRootWindow (display), RevertToParent, CurrentTime);

    auto& top = *target.getTopLevelComponent();
    const auto local = top.getLocalPoint (&target, target.getLocalBounds().getCentre());
    const auto window = (::Window) (juce::pointer_sized_uint) top.getPeer()->getNativeHandle();
    static ::Time time = 1;
    time += 1000;   // never a double click
    for (const auto type : { ButtonPress, ButtonRelease })
    {
        XEvent event {};
        event.xbutton = { type, 0, True, display, window, 0, 0, time += 20, local.x, local.y, local.x + top.getScreenX(),
                          local.y + top.getScreenY(), type == ButtonPress ? 0u : (unsigned) Button1Mask, Button1, True };
        reinterpret_cast<decltype (&XSendEvent)> (dlsym (x11, "XSendEvent")) (display, window, False, NoEventMask, &event);
        reinterpret_cast<decltype (&XFlush)> (dlsym (x11, "XFlush")) (display);
        if (heldMilliseconds > 0)
            pumpMessages (heldMilliseconds);
    }
    reinterpret_cast<decltype (&XCloseDisplay)> (dlsym (x11, "XCloseDisplay")) (display);
    pumpMessages();
}
