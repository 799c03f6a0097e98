#pragma once

#include "editor/FAButton.h"
#include "editor/MultiAudioEditor.h"

#include <cstddef>

/** A band's power, "B" and "S" buttons.

    (Stand-in until the overlays land.)
*/
class MultiAudioEditor::PlotControls : public juce::Component
{
public:
    PlotControls (std::size_t bandIndex, MultiAudioProcessor& processor);
    ~PlotControls() override;

    void resized() override;

    juce::TextButton soloButton;
    const std::size_t bandIndex;
    MultiAudioProcessor& processor;
    juce::TextButton activeButton;
    FAButton powerButton;

private:
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ButtonAttachment> attachments;
};
