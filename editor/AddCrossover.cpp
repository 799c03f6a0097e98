#include "editor/AddCrossover.h"

MultiAudioEditor::AddCrossover::AddCrossover (MultiAudioProcessor& p)
    : processor (p), addButton (juce::translate ("+"))
{
    addChildComponent (addButton);
    addButton.setInterceptsMouseClicks (false, false);
}

MultiAudioEditor::AddCrossover::~AddCrossover() = default;

void MultiAudioEditor::AddCrossover::resized()
{
    activeArea = getLocalBounds().reduced (30, 1);
}

void MultiAudioEditor::AddCrossover::mouseMove (const juce::MouseEvent& e)
{
    const auto position = e.getPosition();
    const bool canAdd = activeArea.contains (position) && processor.readRecords().crossoverCount <= 4;
    addButton.setVisible (canAdd);
    if (canAdd)
        addButton.setBounds (position.x - 15, 0, 30, 30);
}

void MultiAudioEditor::AddCrossover::mouseDown (const juce::MouseEvent& e)
{
    if (activeArea.contains (e.getPosition()) && processor.readRecords().crossoverCount <= 4)
        sendChangeMessage();
}
