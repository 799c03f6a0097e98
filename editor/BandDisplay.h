#pragma once

#include "editor/AddCrossover.h"
#include "editor/CrossoverEditor.h"
#include "editor/GainSlider.h"
#include "editor/MultiAudioEditor.h"
#include "editor/PlotControls.h"

#include <cstddef>

/** The overlay of one band: its level handle, its three buttons, its add strip
    and a click area that selects the band.

    (Stand-in until the overlays land: the span between the neighbouring
    handles, the bindings, the selection mark and the change messages.)
*/
class MultiAudioEditor::BandDisplay : public juce::Component,
                                      public juce::Button::Listener
{
public:
    BandDisplay (std::size_t bandIndex, MultiAudioProcessor& processor,
                 juce::OwnedArray<CrossoverEditor>& crossoverEditors);
    ~BandDisplay() override;

    void resized() override;
    void buttonClicked (juce::Button* button) override;

    const std::size_t bandIndex;
    GainSlider gainSlider;
    PlotControls plotControls;
    AddCrossover addCrossover;
    juce::TextButton selectButton;

private:
    MultiAudioProcessor& processor;
    juce::OwnedArray<CrossoverEditor>& crossoverEditors;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> attachments;
};
