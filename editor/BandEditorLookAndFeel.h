#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The look of the output controls and of each band editor (the window names it
    MultiAudioEditor::BandEditorLookAndFeel): the window's combo-box and menu
    colours with Roboto fonts, labels spaced a little wider. A combo box's
    text wider than its box is squeezed rather than cut short ("X16" in the
    oversampling box). */
class BandEditorLookAndFeel : public juce::LookAndFeel_V4
{
public:
    BandEditorLookAndFeel();
    ~BandEditorLookAndFeel() override;

    void drawButtonText (juce::Graphics&, juce::TextButton&, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;
    juce::Font getPopupMenuFont() override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;
    juce::Font getLabelFont (juce::Label&) override;
};
