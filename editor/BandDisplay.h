#pragma once

#include "editor/AddCrossover.h"
#include "editor/CrossoverEditor.h"
#include "editor/GainSlider.h"
#include "editor/MultiAudioEditor.h"
#include "editor/PlotControls.h"
#include "editor/PushButton.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>
#include <utility>

/** A transparent overlay over the whole plot for one band. Inside the band's
    span (between the crossover handles on its left and right) it places the
    band's level handle (bound to its "compgain"), the column of switches at
    the span's right edge, the "+" strip along the top and, behind them, an
    invisible button over the span so that a click anywhere selects the band.

    Selecting sets the mark on the level handle's look and tells the window
    through a change message from `gainSlider`. The display hides itself
    while its band does not exist.
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

    /** Sets or clears the band's selection mark and repaints the level handle. */
    void setSelectionMark (bool selected);
    bool hasSelectionMark() const noexcept { return gainSlider.lookAndFeel.selected; }

    const std::size_t bandIndex;
    MultiAudioProcessor& processor;
    juce::OwnedArray<CrossoverEditor>& crossoverEditors;
    juce::GroupComponent frame;
    GainSlider gainSlider;
    PlotControls plotControls;
    AddCrossover addCrossover;
    PushButton selectButton;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> attachments;

    /** Band 0 leaves this many pixels at the top of its span to what lies behind. */
    static constexpr int firstBandFreeTop = 50;
    /** Height of the "+" strip. */
    static constexpr int addStripHeight = 30;

private:
    /** The band's left and right edges: the neighbouring crossover handles
        (truncated to whole pixels), or the plot's edges where there is none. */
    std::pair<int, int> findSpan (const MultiAudioProcessor::RecordsSnapshot& records) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BandDisplay)
};
