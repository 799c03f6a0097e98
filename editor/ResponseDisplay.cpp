#include "editor/ResponseDisplay.h"

namespace
{
    const juce::Colour inputColour { 0xccd3d3d3 };
    const juce::Colour outputColour { 0xccadff2f };
}

MultiAudioEditor::ResponseDisplay::ResponseDisplay (MultiAudioProcessor& processor)
    : audioProcessor (processor)
{
    showOutputButton.setButtonText (juce::translate ("Out"));
    showInputButton.setButtonText (juce::translate ("In"));

    setBufferedToImage (true);
    showInput = false;
    showOutput = false;
    setOpaque (true);
    setInterceptsMouseClicks (false, true);

    // Opening the window switches both plots off (and so the analysers).
    setUpPlotButton (showOutputButton, ParameterIDs::outputPlot, outputColour, juce::translate ("Show output response"));
    setUpPlotButton (showInputButton, ParameterIDs::inputPlot, inputColour, juce::translate ("Show input response"));
}

MultiAudioEditor::ResponseDisplay::~ResponseDisplay()
{
    // Closing the window switches both plots off through the still-attached buttons.
    stopTimer();
    showInputButton.setToggleState (false, juce::sendNotification);
    showOutputButton.setToggleState (false, juce::sendNotification);
    buttonAttachments.clear();
}

void MultiAudioEditor::ResponseDisplay::setUpPlotButton (juce::Button& button, const juce::String& parameterID,
                                                         juce::Colour onColour, const juce::String& tooltip)
{
    button.setClickingTogglesState (true);
    button.setColour (juce::ComboBox::outlineColourId, juce::Colour (0xff555555));
    button.setColour (juce::TextButton::textColourOnId, juce::Colours::black);
    button.setColour (juce::TextButton::buttonColourId, juce::Colours::black);
    button.setColour (juce::TextButton::buttonOnColourId, onColour);
    buttonAttachments.add (new juce::AudioProcessorValueTreeState::ButtonAttachment (audioProcessor.apvts, parameterID, button));
    addAndMakeVisible (button);
    button.setTooltip (tooltip);
    button.addListener (this);
    button.setToggleState (false, juce::sendNotification);
}

void MultiAudioEditor::ResponseDisplay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);

    const juce::PathStrokeType stroke (2.0f, juce::PathStrokeType::mitered, juce::PathStrokeType::butt);
    if (showInput)
    {
        audioProcessor.createAnalyserPlot (inputPath, plotArea, true);
        g.setColour (inputColour);
        g.strokePath (inputPath, stroke);
    }
    if (showOutput)
    {
        audioProcessor.createAnalyserPlot (outputPath, plotArea, false);
        g.setColour (outputColour);
        g.strokePath (outputPath, stroke);
    }
}

void MultiAudioEditor::ResponseDisplay::resized()
{
    plotArea = getLocalBounds();
    placeSwitch (showInputButton, { 5, 5, 35, 20 });
    placeSwitch (showOutputButton, { plotArea.getX() + 5, plotArea.getY() + 27, 35, 20 });
}

void MultiAudioEditor::ResponseDisplay::moved()
{
    // Switches shown in the parent follow the display's corner.
    if (showInputButton.getParentComponent() != this)
        resized();
}

void MultiAudioEditor::ResponseDisplay::placeSwitch (juce::Component& button, juce::Rectangle<int> inDisplay)
{
    auto* holder = button.getParentComponent();
    button.setBounds (holder == nullptr || holder == this ? inDisplay : holder->getLocalArea (this, inDisplay));
}

void MultiAudioEditor::ResponseDisplay::showSwitchesIn (juce::Component& front)
{
    front.addAndMakeVisible (showInputButton);
    front.addAndMakeVisible (showOutputButton);
    resized();
}

juce::Rectangle<int> MultiAudioEditor::ResponseDisplay::getSwitchesArea (const juce::Component& component) const
{
    const auto area = showInputButton.getBounds().getUnion (showOutputButton.getBounds());
    return component.getLocalArea (showInputButton.getParentComponent(), area);
}

void MultiAudioEditor::ResponseDisplay::buttonClicked (juce::Button* button)
{
    if (button == &showInputButton)
        plotButtonChanged (showInputButton, showOutputButton, showInput, inputColour);
    else if (button == &showOutputButton)
        plotButtonChanged (showOutputButton, showInputButton, showOutput, outputColour);
}

void MultiAudioEditor::ResponseDisplay::plotButtonChanged (juce::Button& button, juce::Button& otherButton,
                                                           std::atomic<bool>& show, juce::Colour onColour)
{
    if (button.getToggleState())
    {
        if (! isTimerRunning())
            startTimer (timerIntervalMs);
        show = true;
        button.setColour (juce::TextButton::buttonOnColourId, onColour);
        return;
    }

    show = false;
    button.setColour (juce::TextButton::buttonOnColourId, juce::Colours::transparentBlack);
    if (! otherButton.getToggleState() && isTimerRunning())
    {
        stopTimer();
        repaint();
    }
}

void MultiAudioEditor::ResponseDisplay::timerCallback()
{
    // One repaint per tick at most; a pending output spectrum waits for the next one.
    if (audioProcessor.inputAnalyser.newDataAvailable.exchange (false))
    {
        repaint();
        return;
    }
    if (audioProcessor.outputAnalyser.newDataAvailable.exchange (false))
        repaint();
}
