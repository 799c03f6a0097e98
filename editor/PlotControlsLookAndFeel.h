#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of a band's plot controls (the window names it
    MultiAudioEditor::PlotControls::PlotControlsLookAndFeel): black buttons,
    dark grey when on, Roboto text white when on and silver when off. */
class PlotControlsLookAndFeel : public juce::LookAndFeel_V4
{
public:
    PlotControlsLookAndFeel();
    ~PlotControlsLookAndFeel() override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
};
