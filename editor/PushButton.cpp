#include "editor/PushButton.h"

#include "editor/EmbeddedFonts.h"

PushButton::PushButtonLookAndFeel::PushButtonLookAndFeel()
{
    setColour (juce::TextButton::buttonOnColourId, juce::Colours::black);
    setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    setColour (juce::TextButton::textColourOnId, juce::Colours::greenyellow);
    setColour (juce::TextButton::textColourOffId, juce::Colours::silver);
    setColour (juce::ComboBox::outlineColourId, juce::Colours::black);
}

PushButton::PushButtonLookAndFeel::~PushButtonLookAndFeel() = default;

void PushButton::PushButtonLookAndFeel::drawButtonBackground (juce::Graphics& g, juce::Button& button,
                                                              const juce::Colour& backgroundColour,
                                                              bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown)
{
    const auto area = juce::Rectangle<float> (0.5f, 0.5f,
                                              (float) juce::jmax (0, button.getWidth() - 1),
                                              (float) juce::jmax (0, button.getHeight() - 1));

    auto colour = backgroundColour.withMultipliedSaturation (button.hasKeyboardFocus (true) ? 1.3f : 0.9f)
                                  .withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f);
    if (shouldDrawButtonAsHighlighted || shouldDrawButtonAsDown)
        colour = colour.contrasting (0.0f);

    g.setColour (colour);
    const auto outline = button.findColour (juce::ComboBox::outlineColourId);

    if (! (button.isConnectedOnLeft() || button.isConnectedOnRight()
           || button.isConnectedOnTop() || button.isConnectedOnBottom()))
    {
        g.fillRoundedRectangle (area, 0.0f);
        g.setColour (outline);
        g.drawRoundedRectangle (area, 0.0f, 1.0f);
        return;
    }

    const auto left = button.isConnectedOnLeft(), right = button.isConnectedOnRight();
    const auto top = button.isConnectedOnTop(), bottom = button.isConnectedOnBottom();
    juce::Path path;
    path.addRoundedRectangle (area.getX(), area.getY(), area.getWidth(), area.getHeight(), 0.0f, 0.0f,
                              ! (left || top), ! (right || top), ! (left || bottom), ! (right || bottom));
    g.fillPath (path);
    g.setColour (outline);
    g.strokePath (path, juce::PathStrokeType (1.0f));
}

juce::Font PushButton::PushButtonLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return EmbeddedFonts::makeRobotoFont (juce::jmin (15.0f, (float) buttonHeight * 0.75f), 0.02f, 1.1f);
}

PushButton::PushButton()
{
    setLookAndFeel (&lookAndFeel);
}

PushButton::~PushButton()
{
    setLookAndFeel (nullptr);
}
