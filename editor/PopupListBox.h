#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

/** A combo box whose popup list hands the input focus back to the box's window
    before the popup's own window goes.

    JUCE's X11 layer gives a window the input focus at every mouse press in it,
    the popup's window too. When that window is destroyed, the focus falls to
    the root window, and a window manager then gives it to the host's top-level
    window rather than to the plug-in's view embedded in it. The view would get
    the focus back only with the next click in it, and only after that click has
    been handled; JUCE then returns the keyboard focus to the component that had
    it before the popup (this box), away from a value box the click has just
    opened, which would then take no keys.
*/
class PopupListBox : public juce::ComboBox
{
public:
    using juce::ComboBox::ComboBox;

    void showPopup() override;

protected:
    /** Runs `show`, which shows a popup list for this box, and watches the popup
        it puts up. For a box that shows its popup its own way. */
    void showWatchingFocus (const std::function<void()>& show);
};
