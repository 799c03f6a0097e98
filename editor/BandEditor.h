#pragma once

#include "editor/MultiAudioEditor.h"
#include "editor/BandEditorLookAndFeel.h"
#include "editor/ColourPalette.h"
#include "editor/KnobSlider.h"
#include "editor/PopupListBox.h"

#include <cstddef>

/** The bottom row's panel for one band: saturation type and oversampling, the
    high-pass, low-pass, "LEVEL" (input gain), "MIX" and "GAIN" (band level)
    knobs with their captions, the maker's logo and the product name. Every
    control is bound to the band's parameter by an attachment. */
class MultiAudioEditor::BandEditor : public juce::Component
{
public:
    BandEditor (std::size_t bandIndex, MultiAudioProcessor& processor);
    ~BandEditor() override;

    void paint (juce::Graphics&) override;
    void resized() override;

    const std::size_t bandIndex;
    MultiAudioProcessor& processor;
    PopupListBox typeBox;
    KnobSlider mixKnob, gainKnob, levelKnob, highPassKnob, lowPassKnob;
    juce::Label levelLabel, gainLabel, mixLabel, highPassLabel, lowPassLabel, oversamplingLabel, typeLabel, productLabel;
    PopupListBox oversamplingBox;
    juce::DrawableButton logoButton { "Velkor Audio Tools", juce::DrawableButton::ImageFitted };
    ColourPalette palette;
    BandEditorLookAndFeel lookAndFeel;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::ComboBoxAttachment> comboBoxAttachments;
    juce::OwnedArray<juce::AudioProcessorValueTreeState::SliderAttachment> sliderAttachments;

private:
    void fillWithChoices (juce::ComboBox& box, const juce::String& parameterID);
    void setUpCaption (juce::Label& label, const juce::String& text, juce::Justification justification);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (BandEditor)
};
