#include "editor/AddCrossoverLookAndFeel.h"

#include "editor/EmbeddedFonts.h"

AddCrossoverLookAndFeel::AddCrossoverLookAndFeel()
{
    setColour (juce::TextButton::textColourOnId, juce::Colours::white);
    setColour (juce::TextButton::textColourOffId, juce::Colours::white);
    setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    setColour (juce::TextButton::buttonOnColourId, juce::Colours::darkgrey);
}

AddCrossoverLookAndFeel::~AddCrossoverLookAndFeel() = default;

void AddCrossoverLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button, const juce::Colour&, bool, bool)
{
    const auto w = (float) button.getWidth() - 1.0f;
    const auto h = (float) button.getHeight() - 1.0f;
    if (w <= 0.0f || h <= 0.0f)
        return;

    juce::Path outline;
    outline.startNewSubPath (0.0f, 0.0f);
    outline.lineTo (0.0f, h);
    outline.lineTo (w, h);
    outline.lineTo (w, 0.0f);
    outline.closeSubPath();
    const auto box = outline.createPathWithRoundedCorners (4.0f);

    const auto bounds = box.getBounds();
    const auto bottomColour = button.isEnabled() ? juce::Colours::green : juce::Colours::grey;
    g.setGradientFill (juce::ColourGradient::vertical (juce::Colours::black, bounds.getY(), bottomColour, bounds.getBottom()));
    g.fillPath (box);
}

juce::Font AddCrossoverLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return EmbeddedFonts::makeRobotoFont (juce::jmin (15.0f, (float) buttonHeight * 0.75f), 0.02f, 1.1f);
}
