#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A text button drawn with the icon font.

    (Stand-in until the overlays land.)
*/
class FAButton : public juce::TextButton
{
public:
    explicit FAButton (const juce::String& text);
    ~FAButton() override;
};
