#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The window's own look-and-feel, inherited by every child without one of its
    own: black combo boxes and menus with green-yellow text, Roboto everywhere
    (it is also the default sans-serif typeface). */
class EditorLookAndFeel : public juce::LookAndFeel_V4
{
public:
    EditorLookAndFeel();
    ~EditorLookAndFeel() override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getPopupMenuFont() override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Font getLabelFont (juce::Label&) override;
};

/** The button-text rule several of the window's look-and-feels share: the
    look-and-feel's own getTextButtonFont for the button's height, the button's
    on or off text colour (half alpha while disabled), the text fitted centred
    over the whole button in at most two lines, no indents; nothing for a
    button of width 0. */
void drawCentredButtonText (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, juce::TextButton& button);

/** Sets the combo-box and popup-menu colours that the window's panels share:
    green-yellow text on black, no outline, white menu text turning
    green-yellow when highlighted. */
void setPanelComboBoxAndMenuColours (juce::LookAndFeel& lookAndFeel);
