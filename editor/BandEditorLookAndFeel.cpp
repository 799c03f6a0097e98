#include "editor/BandEditorLookAndFeel.h"

#include "editor/EditorLookAndFeel.h"
#include "editor/EmbeddedFonts.h"

BandEditorLookAndFeel::BandEditorLookAndFeel()
{
    setPanelComboBoxAndMenuColours (*this);
}

BandEditorLookAndFeel::~BandEditorLookAndFeel() = default;

void BandEditorLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawCentredButtonText (*this, g, button);
}

juce::Font BandEditorLookAndFeel::getPopupMenuFont()
{
    return EmbeddedFonts::makeRobotoFont (15.0f, 0.02f, 1.1f);
}

juce::Font BandEditorLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return EmbeddedFonts::makeRobotoFont (juce::jmin (15.0f, (float) box.getHeight() * 0.85f), 0.02f, 1.1f);
}

void BandEditorLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    LookAndFeel_V4::positionComboBoxText (box, label);

    // Text that fits is drawn as it is; longer text is squeezed, down to half its
    // width, before it would end in "...".
    label.setMinimumHorizontalScale (0.5f);
}

juce::Font BandEditorLookAndFeel::getLabelFont (juce::Label&)
{
    return EmbeddedFonts::makeRobotoFont (15.0f, 0.04f, 1.1f);
}
