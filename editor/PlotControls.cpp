#include "editor/PlotControls.h"

#include "editor/CrossoverEditor.h"
#include "engine/ParameterIDs.h"

namespace
{
    const juce::String powerGlyph = juce::String::fromUTF8 ("\xef\x80\x91"); // U+F011 in the icon font
}

MultiAudioEditor::PlotControls::PlotControls (std::size_t index, MultiAudioProcessor& p)
    : soloButton (juce::translate ("S")),
      bandIndex (index),
      processor (p),
      activeButton (juce::translate ("B")),
      powerButton (powerGlyph)
{
    lookAndFeel.setColour (juce::TextButton::textColourOnId, juce::Colour (0xffffffff));
    lookAndFeel.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffc0c0c0));
    lookAndFeel.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff000000));
    lookAndFeel.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff555555));

    setBufferedToImage (true);
    setLookAndFeel (&lookAndFeel);

    // "S": black when off, teal when soloed.
    soloButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff000000));
    soloButton.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff03a893));
    bind (soloButton, "solo-", ParameterIDs::solo (bandIndex));

    // "B": green while the band's processing is off (bypassed), black while on.
    activeButton.setColour (juce::TextButton::textColourOnId, juce::Colour (0xffc0c0c0));
    activeButton.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffffffff));
    activeButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff008000));
    activeButton.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff000000));
    bind (activeButton, "activate-", ParameterIDs::active (bandIndex));

    bind (powerButton, "real-activate-", ParameterIDs::realActive (bandIndex));

    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::PlotControls::~PlotControls()
{
    setLookAndFeel (nullptr);
    attachments.clear();
}

void MultiAudioEditor::PlotControls::bind (juce::TextButton& button, const juce::String& componentID,
                                           const juce::String& parameterID)
{
    button.setClickingTogglesState (true);
    button.setComponentID (componentID + overlayComponentNumber (bandIndex));
    attachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (processor.apvts, parameterID, button));
    addAndMakeVisible (button);
}

void MultiAudioEditor::PlotControls::resized()
{
    const int w = juce::jmax (getWidth(), 0);
    auto area = juce::Rectangle<int> (0, 5, w - juce::jmin (5, w), juce::jmax (getHeight() - 10, 0));

    constexpr int buttonHeight = 20, gap = 5;
    powerButton.setBounds (area.removeFromTop (buttonHeight));
    area.removeFromTop (gap);
    activeButton.setBounds (area.removeFromTop (buttonHeight));
    area.removeFromTop (gap);
    soloButton.setBounds (area.removeFromTop (buttonHeight));
}
