#include "editor/ContextPopupMenuLookAndFeel.h"

#include "editor/EmbeddedFonts.h"

ContextPopupMenuLookAndFeel::ContextPopupMenuLookAndFeel()
{
    setColour (juce::PopupMenu::backgroundColourId, juce::Colours::black);
    setColour (juce::PopupMenu::highlightedBackgroundColourId, juce::Colours::black);
    setColour (juce::PopupMenu::textColourId, juce::Colours::white);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::greenyellow);
}

ContextPopupMenuLookAndFeel::~ContextPopupMenuLookAndFeel() = default;

juce::Font ContextPopupMenuLookAndFeel::getPopupMenuFont()
{
    return EmbeddedFonts::makeRobotoFont (16.0f, 0.02f, 1.1f);
}
