#pragma once

#include "editor/CrossoverSlider.h"
#include "editor/MultiAudioEditor.h"

#include <cstddef>

/** The overlay of one crossover: its frequency handle and its remove button.

    (Stand-in until the overlays land: the handle bound to the crossover's
    frequency and both component IDs, without drawing or hit windows.)
*/
class MultiAudioEditor::CrossoverEditor : public juce::Component,
                                          public juce::Slider::Listener
{
public:
    CrossoverEditor (std::size_t crossoverIndex, MultiAudioProcessor& processor);
    ~CrossoverEditor() override;

    void resized() override;
    void sliderValueChanged (juce::Slider* slider) override;

    const std::size_t crossoverIndex;
    CrossoverSlider crossoverSlider;
    juce::TextButton removeButton;

private:
    MultiAudioProcessor& processor;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> attachments;
};
