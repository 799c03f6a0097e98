#include "editor/PlotControls.h"

MultiAudioEditor::PlotControls::PlotControls (std::size_t index, MultiAudioProcessor& p)
    : soloButton (juce::translate ("S")), bandIndex (index), processor (p),
      activeButton (juce::translate ("B")), powerButton (juce::String::fromUTF8 ("\xef\x80\x91"))
{
    for (auto* button : { &soloButton, &activeButton, static_cast<juce::TextButton*> (&powerButton) })
    {
        button->setClickingTogglesState (true);
        addAndMakeVisible (button);
    }
    attachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (processor.apvts, ParameterIDs::solo (bandIndex), soloButton));
    attachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (processor.apvts, ParameterIDs::active (bandIndex), activeButton));
    attachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (processor.apvts, ParameterIDs::realActive (bandIndex), powerButton));
    setInterceptsMouseClicks (false, true);
}

MultiAudioEditor::PlotControls::~PlotControls()
{
    attachments.clear();
}

void MultiAudioEditor::PlotControls::resized()
{
    auto area = getLocalBounds().reduced (0, 5);
    powerButton.setBounds (area.removeFromTop (20).withWidth (20));
    area.removeFromTop (5);
    activeButton.setBounds (area.removeFromTop (20).withWidth (20));
    area.removeFromTop (5);
    soloButton.setBounds (area.removeFromTop (20).withWidth (20));
}
