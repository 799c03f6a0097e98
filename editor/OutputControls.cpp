#include "editor/OutputControls.h"

#include "editor/PanelDecoration.h"

MultiAudioEditor::OutputControls::OutputControls (MultiAudioProcessor& processor)
    : audioProcessor (processor)
{
    setBufferedToImage (true);
    setOpaque (true);
    setLookAndFeel (&lookAndFeel);

    setUpKnob (dryWetKnob, "%");
    dryWetKnob.lookAndFeel.drawRangeLabels = true;
    setUpCaption (dryWetLabel, juce::translate ("DRY/WET"));
    addAndMakeVisible (dryWetKnob);
    sliderAttachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (audioProcessor.apvts, ParameterIDs::outputMix, dryWetKnob));

    bypassButton.setButtonText ("BYPASS");
    bypassButton.setClickingTogglesState (true);
    addAndMakeVisible (bypassButton);
    buttonAttachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (audioProcessor.apvts, ParameterIDs::bypass, bypassButton));

    setUpKnob (gainKnob, "dB");
    gainKnob.lookAndFeel.drawValueDots = true;
    setUpCaption (gainLabel, juce::translate ("GAIN"));
    addAndMakeVisible (gainKnob);
    sliderAttachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (audioProcessor.apvts, ParameterIDs::output, gainKnob));

    setUpCaption (titleLabel, juce::translate ("OUTPUT CONTROLS"));

    showMakerMark (*this, logoButton, productLabel);
}

MultiAudioEditor::OutputControls::~OutputControls()
{
    setLookAndFeel (nullptr);
    buttonAttachments.clear();
    sliderAttachments.clear();
}

void MultiAudioEditor::OutputControls::setUpKnob (KnobSlider& knob, const juce::String& suffix)
{
    knob.setTextBoxStyle (juce::Slider::TextBoxBelow, false, 70, 24);
    knob.setTextValueSuffix (suffix);
    knob.lookAndFeel.knobScale = 1.0f;
    knob.lookAndFeel.pointerColour = colourPalette[28];
}

void MultiAudioEditor::OutputControls::setUpCaption (juce::Label& label, const juce::String& text)
{
    addAndMakeVisible (label);
    label.setText (text, juce::dontSendNotification);
    label.setColour (juce::Label::textColourId, colourPalette[35]);
    label.setJustificationType (juce::Justification::centredBottom);
}

void MultiAudioEditor::OutputControls::paint (juce::Graphics& g)
{
    fillPanelGradient (g, *this, juce::Colour (0xff800080));
}

void MultiAudioEditor::OutputControls::resized()
{
    const int w = getWidth();
    const int h = getHeight();
    titleLabel.setBounds (0, 0, w, 25);

    const int quarter = w / 4;
    juce::Rectangle<int> area (0, 25, w, juce::jmax (0, h - 25));
    const int gap = (h - 25) / 6 - 15;

    auto labelRow = area.removeFromBottom (juce::jmin (20, area.getHeight()));
    labelRow.removeFromLeft (quarter);
    dryWetLabel.setBounds (labelRow.removeFromLeft (quarter));
    gainLabel.setBounds (labelRow.removeFromLeft (quarter));

    area.removeFromTop (juce::jlimit (0, area.getHeight(), gap));
    area.removeFromLeft (quarter);
    dryWetKnob.setBounds (area.removeFromLeft (quarter));
    gainKnob.setBounds (area.removeFromLeft (quarter));
    auto bypassArea = area.removeFromLeft (quarter).reduced (85, 60);
    bypassButton.setBounds (bypassArea.removeFromTop (juce::jmin (25, bypassArea.getHeight())));

    logoButton.setBounds (20, -10, 140, 140);
    productLabel.setBounds (80, 85, 100, 20);
}
