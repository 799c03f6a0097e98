#include "editor/FAButtonLookAndFeel.h"

#include "editor/EditorLookAndFeel.h"
#include "editor/EmbeddedFonts.h"

FAButtonLookAndFeel::FAButtonLookAndFeel()
{
    setColour (juce::TextButton::textColourOnId, juce::Colours::white);
    setColour (juce::TextButton::textColourOffId, juce::Colours::silver);
    setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xffff6103));
}

FAButtonLookAndFeel::~FAButtonLookAndFeel() = default;

juce::Font FAButtonLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return EmbeddedFonts::makeFontAwesomeFont (juce::jmin (22.0f, (float) buttonHeight * 0.62f));
}

void FAButtonLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawCentredButtonText (*this, g, button);
}
