#pragma once

#include "editor/MultiAudioEditor.h"
#include "editor/BandEditorLookAndFeel.h"
#include "editor/ColourPalette.h"
#include "editor/KnobSlider.h"
#include "editor/PushButton.h"

/** The bottom row's global panel, shown in the output view: the "DRY/WET" and
    "GAIN" knobs, "BYPASS", the heading, the maker's logo and the product name.
    "BYPASS" mirrors the parameter through its attachment; opening the window
    never changes "bypass". */
class MultiAudioEditor::OutputControls : public juce::Component
{
public:
    explicit OutputControls (MultiAudioProcessor& processor);
    ~OutputControls() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    MultiAudioProcessor& audioProcessor;
    PushButton bypassButton;
    KnobSlider dryWetKnob;
    KnobSlider gainKnob;
    juce::Label gainLabel;
    juce::Label dryWetLabel;
    juce::Label titleLabel;
    juce::Label productLabel;
    juce::DrawableButton logoButton { "Velkor Audio Tools", juce::DrawableButton::ImageFitted };
    ColourPalette colourPalette;
    BandEditorLookAndFeel lookAndFeel;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> sliderAttachments;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ButtonAttachment> buttonAttachments;

private:
    void setUpKnob (KnobSlider& knob, const juce::String& suffix);
    void setUpCaption (juce::Label& label, const juce::String& text);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (OutputControls)
};
