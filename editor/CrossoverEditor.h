#pragma once

#include "editor/CrossoverSlider.h"
#include "editor/MultiAudioEditor.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>

/** The number that ends an overlay component's ID: "1".."6" for index 0..5
    and "unknown" beyond, as the parameter IDs number bands and crossovers. */
juce::String overlayComponentNumber (std::size_t index);

/** A transparent overlay over the whole plot for one crossover: its frequency
    handle (bound to the crossover's "frequency_crossover" parameter) and an
    "X" button that follows the handle and asks the window to remove the
    crossover. The overlay takes no clicks itself, only the handle's narrow hit
    window and the button do; the window listens to both.

    Component IDs: "crossover-N" for the handle, "remove-N" for the button,
    with N the crossover number (index + 1).
*/
class MultiAudioEditor::CrossoverEditor : public juce::Component,
                                          public juce::Slider::Listener
{
public:
    CrossoverEditor (std::size_t crossoverIndex, MultiAudioProcessor& processor);
    ~CrossoverEditor() override;

    void resized() override;
    void sliderValueChanged (juce::Slider* slider) override;

    /** The handle's x inside the overlay, as JUCE places the value on the slider. */
    float getHandlePosition() const;

    const std::size_t crossoverIndex;
    MultiAudioProcessor& processor;
    juce::GroupComponent frame;
    CrossoverSlider crossoverSlider;
    juce::TextButton removeButton;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> attachments;

    static constexpr int removeButtonSize = 20;

private:
    void placeRemoveButton();

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (CrossoverEditor)
};
