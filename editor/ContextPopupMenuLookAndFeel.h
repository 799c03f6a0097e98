#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the window's right-click menu (the window names it
    MultiAudioEditor::ContextPopupMenu::ContextPopupMenuLookAndFeel): black,
    white text turning green-yellow when highlighted, 16-pixel Roboto. */
class ContextPopupMenuLookAndFeel : public juce::LookAndFeel_V4
{
public:
    ContextPopupMenuLookAndFeel();
    ~ContextPopupMenuLookAndFeel() override;

    juce::Font getPopupMenuFont() override;
};
