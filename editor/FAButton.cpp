#include "editor/FAButton.h"

FAButton::FAButton (const juce::String& text)
    : juce::TextButton (text)
{
    lookAndFeel.setColour (juce::TextButton::textColourOnId, juce::Colour (0xffffffff));
    lookAndFeel.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffc0c0c0));
    lookAndFeel.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff000000));
    setLookAndFeel (&lookAndFeel);
}

FAButton::~FAButton()
{
    setLookAndFeel (nullptr);
}
