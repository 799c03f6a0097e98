#include "editor/BandDisplay.h"

MultiAudioEditor::BandDisplay::BandDisplay (std::size_t index, MultiAudioProcessor& p,
                                            juce::OwnedArray<CrossoverEditor>& editors)
    : bandIndex (index), plotControls (index, p), addCrossover (p), processor (p), crossoverEditors (editors)
{
    gainSlider.setSliderStyle (juce::Slider::LinearVertical);
    attachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (
        processor.apvts, ParameterIDs::compgain (bandIndex), gainSlider));
    gainSlider.setComponentID ("band-display-gain-" + ParameterIDs::compgain (bandIndex).fromLastOccurrenceOf ("-", false, false));
    addAndMakeVisible (gainSlider);
    addAndMakeVisible (plotControls);
    for (auto* button : { &plotControls.soloButton, &plotControls.activeButton, static_cast<juce::TextButton*> (&plotControls.powerButton) })
        button->addListener (this);
    addAndMakeVisible (addCrossover);
    selectButton.setColour (juce::TextButton::buttonColourId, juce::Colours::transparentBlack);
    addAndMakeVisible (selectButton);
    selectButton.addListener (this);
    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::BandDisplay::~BandDisplay()
{
    attachments.clear();
}

void MultiAudioEditor::BandDisplay::resized()
{
    const auto records = processor.readRecords();
    const auto band = static_cast<int> (bandIndex);
    if (band >= static_cast<int> (records.bands.size()) || ! records.bands[(size_t) band].enabled)
    {
        setVisible (false);
        return;
    }
    setVisible (true);

    auto handleX = [this] (int crossover)
    {
        auto& slider = crossoverEditors[crossover]->crossoverSlider;
        return static_cast<int> (slider.getPositionOfValue (slider.getValue()));
    };
    const int left = band > 0 && band - 1 < crossoverEditors.size() ? handleX (band - 1) : 0;
    const int right = band < static_cast<int> (records.crossoverCount) && band < crossoverEditors.size() ? handleX (band) : getWidth();
    const int span = right - left;
    gainSlider.setBounds (left, -10, span, getHeight() + 20);
    selectButton.setBounds (band == 0 ? juce::Rectangle<int> (left, 50, span, getHeight() - 40) : gainSlider.getBounds());
    selectButton.toBack();
    if (records.crossoverCount <= 4)
        addCrossover.setBounds (left + 30, 0, span - 60, 30);
    plotControls.setBounds (juce::roundToInt ((float) right - 25.0f), 0, 25, 85);
}

void MultiAudioEditor::BandDisplay::buttonClicked (juce::Button* button)
{
    if (button != &selectButton && button != &plotControls.soloButton
        && button != &plotControls.activeButton && button != &plotControls.powerButton)
        return;

    if (processor.readRecords().crossoverCount == 0)
    {
        gainSlider.lookAndFeel.selected = false;
        gainSlider.repaint();
        return;
    }
    gainSlider.lookAndFeel.selected = true;
    gainSlider.repaint();
    gainSlider.sendChangeMessage();
}
