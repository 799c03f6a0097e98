// Kept apart from the test headers: Xlib's macros clash with names in JUCE and
// GoogleTest. libX11 is looked up at run time, as JUCE does.
#include "WindowTestSupport.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

void windowtest::clickThroughX11 (juce::Component& target, juce::Point<int> position, bool focusElsewhereFirst)
{
    static void* const x11 = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
    const auto openDisplay = reinterpret_cast<decltype (&XOpenDisplay)> (dlsym (x11, "XOpenDisplay"));
    const auto sendEvent = reinterpret_cast<decltype (&XSendEvent)> (dlsym (x11, "XSendEvent"));
    const auto setInputFocus = reinterpret_cast<decltype (&XSetInputFocus)> (dlsym (x11, "XSetInputFocus"));
    const auto closeDisplay = reinterpret_cast<decltype (&XCloseDisplay)> (dlsym (x11, "XCloseDisplay"));
    auto* display = openDisplay != nullptr && sendEvent != nullptr && setInputFocus != nullptr && closeDisplay != nullptr
                  ? openDisplay (nullptr) : nullptr;
    ASSERT_NE (display, nullptr);

    if (focusElsewhereFirst)
        setInputFocus (display, DefaultRootWindow (display), RevertToParent, CurrentTime);

    auto& top = *target.getTopLevelComponent();
    const auto local = top.getLocalPoint (&target, position);
    const auto window = (::Window) (juce::pointer_sized_uint) top.getPeer()->getNativeHandle();
    static ::Time time = 1;   // a second apart: never a double click
    time += 1000;

    for (const auto type : { ButtonPress, ButtonRelease })
    {
        XEvent event {};
        event.xbutton = { type, 0, True, display, window, 0, 0, time += 20, local.x, local.y,
                          local.x + top.getScreenX(), local.y + top.getScreenY(),
                          type == ButtonPress ? 0u : (unsigned) Button1Mask, Button1, True };
        sendEvent (display, window, False, NoEventMask, &event);
    }
    closeDisplay (display);   // sends the events
    pumpMessages();
}
