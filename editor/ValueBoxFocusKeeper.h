#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** Keeps the keyboard focus with a value box's text editor while the box is
    open in the window.

    A window manager that focuses the host's top-level window at every click
    (click-to-focus) takes the input focus from the plug-in's view embedded in
    it just before the click reaches the view; the view takes it back while
    handling the click. When JUCE then sees the focus return, it hands the
    keyboard focus to the component that had it before the click (a list or a
    button just used), away from the value box that the click has opened: the
    box stays open, and typed keys reach nothing. An open box closes whenever
    its editor loses the focus in any other way, so an open box without the
    focus comes only from that return; its editor takes the focus back.
*/
class ValueBoxFocusKeeper : private juce::FocusChangeListener
{
public:
    explicit ValueBoxFocusKeeper (juce::Component& window);
    ~ValueBoxFocusKeeper() override;

private:
    void globalFocusChanged (juce::Component* focused) override;

    juce::Component& window;

    JUCE_DECLARE_NON_COPYABLE (ValueBoxFocusKeeper)
};
