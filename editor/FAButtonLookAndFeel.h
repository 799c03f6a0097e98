#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the icon buttons (FAButton names it FAButton::FAButtonLookAndFeel):
    the button text is drawn with the Font Awesome icon font, white when on
    and silver when off, on black or orange. */
class FAButtonLookAndFeel : public juce::LookAndFeel_V4
{
public:
    FAButtonLookAndFeel();
    ~FAButtonLookAndFeel() override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
};
