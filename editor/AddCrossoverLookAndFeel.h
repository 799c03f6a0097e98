#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the "+" marker that adds a crossover (the window names it
    MultiAudioEditor::AddCrossover::AddCrossoverLookAndFeel): a rounded box
    shading from black at the top to green at the bottom, grey while
    disabled, with white Roboto text. */
class AddCrossoverLookAndFeel : public juce::LookAndFeel_V4
{
public:
    AddCrossoverLookAndFeel();
    ~AddCrossoverLookAndFeel() override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
};
