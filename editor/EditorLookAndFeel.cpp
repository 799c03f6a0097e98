#include "editor/EditorLookAndFeel.h"

#include "editor/EmbeddedFonts.h"

void drawCentredButtonText (juce::LookAndFeel& lookAndFeel, juce::Graphics& g, juce::TextButton& button)
{
    g.setFont (lookAndFeel.getTextButtonFont (button, button.getHeight()));

    const auto colourId = button.getToggleState() ? juce::TextButton::textColourOnId : juce::TextButton::textColourOffId;
    g.setColour (button.findColour (colourId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));

    if (button.getWidth() > 0)
        g.drawFittedText (button.getButtonText(), 0, 0, button.getWidth(), button.getHeight(),
                          juce::Justification::centred, 2);
}

void setPanelComboBoxAndMenuColours (juce::LookAndFeel& lookAndFeel)
{
    namespace C = juce::Colours;
    lookAndFeel.setColour (juce::ComboBox::textColourId, C::greenyellow);
    lookAndFeel.setColour (juce::ComboBox::backgroundColourId, C::black);
    lookAndFeel.setColour (juce::ComboBox::buttonColourId, C::black);
    lookAndFeel.setColour (juce::ComboBox::outlineColourId, C::transparentBlack);
    lookAndFeel.setColour (juce::PopupMenu::backgroundColourId, C::black);
    lookAndFeel.setColour (juce::PopupMenu::highlightedBackgroundColourId, C::black);
    lookAndFeel.setColour (juce::PopupMenu::textColourId, C::white);
    lookAndFeel.setColour (juce::PopupMenu::highlightedTextColourId, C::greenyellow);
}

EditorLookAndFeel::EditorLookAndFeel()
{
    setPanelComboBoxAndMenuColours (*this);
    setDefaultSansSerifTypeface (EmbeddedFonts::getRobotoRegular());
}

EditorLookAndFeel::~EditorLookAndFeel() = default;

juce::Font EditorLookAndFeel::getTextButtonFont (juce::TextButton&, int buttonHeight)
{
    return EmbeddedFonts::makeRobotoFont (juce::jmin (15.0f, (float) buttonHeight * 0.62f), 0.0f, 1.3f);
}

void EditorLookAndFeel::drawButtonText (juce::Graphics& g, juce::TextButton& button, bool, bool)
{
    drawCentredButtonText (*this, g, button);
}

juce::Font EditorLookAndFeel::getPopupMenuFont()
{
    return EmbeddedFonts::makeRobotoFont (15.0f, 0.02f, 1.1f);
}

juce::Font EditorLookAndFeel::getComboBoxFont (juce::ComboBox& box)
{
    return EmbeddedFonts::makeRobotoFont (juce::jmin (15.0f, (float) box.getHeight() * 0.85f), 0.02f, 1.1f);
}

juce::Font EditorLookAndFeel::getLabelFont (juce::Label&)
{
    return EmbeddedFonts::makeRobotoFont (15.0f, 0.02f, 1.1f);
}
