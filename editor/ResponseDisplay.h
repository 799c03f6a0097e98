#pragma once

#include "editor/MultiAudioEditor.h"
#include "editor/PushButton.h"

#include <atomic>

/** The plot area's background: the input and output spectra on black, switched
    with the "In" and "Out" buttons (bound to "input_plot" and "output_plot").
    While a spectrum is shown a 33 ms timer polls the analysers and repaints
    when one of them has published a new average. */
class MultiAudioEditor::ResponseDisplay : public juce::Component,
                                          public juce::Timer,
                                          public juce::Button::Listener
{
public:
    static constexpr int timerIntervalMs = 33;

    explicit ResponseDisplay (MultiAudioProcessor& processor);
    ~ResponseDisplay() override;

    void paint (juce::Graphics&) override;
    void resized() override;
    void moved() override;
    void buttonClicked (juce::Button* button) override;
    void timerCallback() override;

    /** Makes "In" and "Out" children of `front`, the display's parent, where
        they stand in front of everything laid over the plot: nothing covers
        them or takes their clicks. They keep their place in the display's
        corner. */
    void showSwitchesIn (juce::Component& front);

    /** "In" and "Out" together, in the coordinates of `component`. */
    juce::Rectangle<int> getSwitchesArea (const juce::Component& component) const;

    MultiAudioProcessor& audioProcessor;
    juce::Path inputPath;
    juce::Path outputPath;
    PushButton showOutputButton;
    PushButton showInputButton;
    juce::Rectangle<int> plotArea;
    std::atomic<bool> showInput { false };
    std::atomic<bool> showOutput { false };
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ButtonAttachment> buttonAttachments;

private:
    void placeSwitch (juce::Component& button, juce::Rectangle<int> inDisplay);
    void setUpPlotButton (juce::Button& button, const juce::String& parameterID,
                          juce::Colour onColour, const juce::String& tooltip);
    void plotButtonChanged (juce::Button& button, juce::Button& otherButton,
                            std::atomic<bool>& show, juce::Colour onColour);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ResponseDisplay)
};
