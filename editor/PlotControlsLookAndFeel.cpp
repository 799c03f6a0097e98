#include "editor/PlotControlsLookAndFeel.h"

#include "editor/EditorLookAndFeel.h"
#include "editor/EmbeddedFonts.h"

PlotControlsLookAndFeel::PlotControlsLookAndFeel()
{
    setColour (juce::TextButton::textColourOnId, juce::Colours::white);
    setColour (juce::TextButton::textColourOffId, juce::Colours::silver);
    setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    setColour (juce::TextButton::buttonOnColourId, juce::Colours::darkgrey);
}

PlotControlsLookAndFeel::~PlotControlsLookAndFeel() = default;

juce::Font PlotControlsLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return EmbeddedFonts::makeRobotoFont (juce::jmin (15.0f, (float) buttonHeight * 0.62f), 0.0f, 1.3f);
}

void PlotControlsLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawCentredButtonText (*this, g, button);
}
