#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** A square, flat black text button whose text turns green-yellow when on
    ("BAND", "OUTPUT", "In", "Out", "BYPASS"). The owner sets text, tooltip,
    colours, toggle behaviour and radio group. */
class PushButton : public juce::TextButton
{
public:
    /** Square corners, no contrast; 15-pixel (at most) Roboto text. */
    class PushButtonLookAndFeel : public juce::LookAndFeel_V4
    {
    public:
        PushButtonLookAndFeel();
        ~PushButtonLookAndFeel() override;

        void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                                   bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
        juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    };

    PushButton();
    ~PushButton() override;

    PushButtonLookAndFeel lookAndFeel;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PushButton)
};
