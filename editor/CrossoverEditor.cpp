#include "editor/CrossoverEditor.h"

#include "engine/ParameterIDs.h"

juce::String overlayComponentNumber (std::size_t index)
{
    return index < 6 ? juce::String ((int) index + 1) : juce::String ("unknown");
}

MultiAudioEditor::CrossoverEditor::CrossoverEditor (std::size_t index, MultiAudioProcessor& p)
    : crossoverIndex (index), processor (p)
{
    // Not buffered to an image: the overlay is transparent and spans the whole
    // plot, so compositing a plot-sized cache on every repaint (a drag, each
    // spectrum frame beneath) costs several times more than drawing the handle.

    const auto records = processor.readRecords();
    frame.setColour (juce::GroupComponent::textColourId,
                     crossoverIndex < records.crossovers.size() ? records.crossovers[crossoverIndex].colour
                                                                 : juce::Colour (0xffc0c0c0));
    frame.setColour (juce::GroupComponent::outlineColourId, juce::Colour (0x00000000));
    addAndMakeVisible (frame);
    addAndMakeVisible (crossoverSlider);

    attachments.add (new juce::AudioProcessorValueTreeState::SliderAttachment (
        processor.apvts, ParameterIDs::frequencyCrossover (crossoverIndex), crossoverSlider));

    crossoverSlider.setComponentID ("crossover-" + overlayComponentNumber (crossoverIndex));
    crossoverSlider.addListener (this);

    removeButton.setButtonText (juce::translate ("X"));
    removeButton.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff000000));
    removeButton.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffc0c0c0));
    removeButton.setColour (juce::ComboBox::outlineColourId, juce::Colour (0xffc0c0c0));
    removeButton.setComponentID ("remove-" + overlayComponentNumber (crossoverIndex));
    addAndMakeVisible (removeButton);

    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::CrossoverEditor::~CrossoverEditor()
{
    crossoverSlider.removeListener (this);
    attachments.clear();
}

float MultiAudioEditor::CrossoverEditor::getHandlePosition() const
{
    return crossoverSlider.getPositionOfValue (crossoverSlider.getValue());
}

void MultiAudioEditor::CrossoverEditor::resized()
{
    frame.setBounds (getLocalBounds());
    crossoverSlider.setBounds (getLocalBounds());
    placeRemoveButton();
}

void MultiAudioEditor::CrossoverEditor::sliderValueChanged (juce::Slider* slider)
{
    if (slider == &crossoverSlider)
        placeRemoveButton();
}

void MultiAudioEditor::CrossoverEditor::placeRemoveButton()
{
    // Centred on the handle line and on the frame's height; not clamped, so
    // at the ends of the range it may stick out of the overlay.
    const int x = juce::roundToInt (getHandlePosition() - removeButtonSize / 2.0f);
    const int y = frame.getY() + (frame.getHeight() - frame.getY()) / 2 - removeButtonSize / 2;
    removeButton.setBounds (x, y, removeButtonSize, removeButtonSize);
}
