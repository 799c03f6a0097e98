#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace state
{

/** The preset bar's look: dark flat buttons with square-ish corners, grey text
    in the combo box and its list, and Roboto text everywhere (slightly spaced
    and widened). Also used by the bar's dialogs.

    The colours live in this look-and-feel's own table, so a component using it
    sees them unless it sets its own. Fonts are built on every request.
*/
class StateLookAndFeel : public juce::LookAndFeel_V4
{
public:
    StateLookAndFeel();
    ~StateLookAndFeel() override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getPopupMenuFont() override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Font getLabelFont (juce::Label&) override;

    /** JUCE's dialog frame, background and text, with the alert icon kept whole
        in the column left of the text. */
    void drawAlertBox (juce::Graphics&, juce::AlertWindow&, const juce::Rectangle<int>& textArea,
                       juce::TextLayout&) override;

    /** The bar's text font at the given height (kerning 0.02, horizontal scale 1.1). */
    static juce::Font makeFont (float height);

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StateLookAndFeel)
};

} // namespace state
