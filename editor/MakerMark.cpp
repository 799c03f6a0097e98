#include "editor/MakerMark.h"

#include "editor/SvgDrawable.h"
#include "resources/EmbeddedResources.h"

void showMakerMark (juce::Component& panel, juce::DrawableButton& logoButton, juce::Label& productLabel)
{
    const juce::Colour productColour { 0xffa9b0b7 };
    const juce::Colour logoGreen { 0xff7df97d };

    panel.addAndMakeVisible (logoButton);
    if (auto logo = makeSvgDrawable (resources::logoSvg, logoGreen, productColour, 1.5f))
        logoButton.setImages (logo.get());

    productLabel.setText ("ZELK-MULTI", juce::dontSendNotification);
    productLabel.setColour (juce::Label::textColourId, productColour);
    productLabel.setJustificationType (juce::Justification::centred);
    panel.addAndMakeVisible (productLabel);
}
