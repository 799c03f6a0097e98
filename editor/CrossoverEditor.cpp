#include "editor/CrossoverEditor.h"

MultiAudioEditor::CrossoverEditor::CrossoverEditor (std::size_t index, MultiAudioProcessor& p)
    : crossoverIndex (index), removeButton (juce::translate ("X")), processor (p)
{
    addAndMakeVisible (crossoverSlider);
    attachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (
        processor.apvts, ParameterIDs::frequencyCrossover (crossoverIndex), crossoverSlider));
    const auto number = ParameterIDs::frequencyCrossover (crossoverIndex).fromLastOccurrenceOf ("-", false, false);
    crossoverSlider.setComponentID ("crossover-" + number);
    crossoverSlider.addListener (this);
    removeButton.setComponentID ("remove-" + number);
    addAndMakeVisible (removeButton);
    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::CrossoverEditor::~CrossoverEditor()
{
    attachments.clear();
}

void MultiAudioEditor::CrossoverEditor::resized()
{
    crossoverSlider.setBounds (getLocalBounds());
    removeButton.setBounds (juce::roundToInt (crossoverSlider.getPositionOfValue (crossoverSlider.getValue()) - 10.0f),
                            getHeight() / 2 - 10, 20, 20);
}

void MultiAudioEditor::CrossoverEditor::sliderValueChanged (juce::Slider* slider)
{
    if (slider == &crossoverSlider)
        resized();
}
