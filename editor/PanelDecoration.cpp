#include "editor/PanelDecoration.h"

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

void fillPanelGradient (juce::Graphics& g, const juce::Component& panel, juce::Colour top)
{
    const auto w = static_cast<float> (panel.getWidth());
    const auto h = static_cast<float> (panel.getHeight());
    juce::Path background;
    background.startNewSubPath (0.0f, h);
    background.lineTo (0.0f, 0.0f);
    background.lineTo (w, 0.0f);
    background.lineTo (w, h);
    background.closeSubPath();
    g.setGradientFill (juce::ColourGradient (top, 0.0f, 0.0f, juce::Colours::black, 0.0f, h, false));
    g.fillPath (background, panel.getTransform());
}
