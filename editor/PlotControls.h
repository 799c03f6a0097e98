#pragma once

#include "editor/FAButton.h"
#include "editor/MultiAudioEditor.h"
#include "editor/PlotControlsLookAndFeel.h"
#include "editor/UserClickButton.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cstddef>

/** The column of three switches at a band's right edge: power (the band's
    "real_active"), "B" (its "active") and "S" (its "solo"). Each click flips
    its parameter through an attachment; the band display listens to them to
    select the band. Component IDs "real-activate-N", "activate-N", "solo-N".
*/
class MultiAudioEditor::PlotControls : public juce::Component
{
public:
    using PlotControlsLookAndFeel = ::PlotControlsLookAndFeel;

    PlotControls (std::size_t bandIndex, MultiAudioProcessor& processor);
    ~PlotControls() override;

    void resized() override;

    UserClickButton<juce::TextButton> soloButton;
    PlotControlsLookAndFeel lookAndFeel;
    const std::size_t bandIndex;
    MultiAudioProcessor& processor;
    UserClickButton<juce::TextButton> activeButton;
    UserClickButton<FAButton> powerButton;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ButtonAttachment> attachments;

    /** The size the band display gives the column. */
    static constexpr int columnWidth = 25, columnHeight = 85;

private:
    void bind (juce::TextButton& button, const juce::String& componentID, const juce::String& parameterID);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PlotControls)
};
