#include "editor/AddCrossover.h"

namespace
{
    constexpr std::size_t maxCrossovers = 5;
}

MultiAudioEditor::AddCrossover::AddCrossover (MultiAudioProcessor& p)
    : processor (p),
      addButton (juce::translate ("+"))
{
    lookAndFeel.setColour (juce::TextButton::textColourOnId, juce::Colour (0xffffffff));
    lookAndFeel.setColour (juce::TextButton::textColourOffId, juce::Colour (0xffffffff));
    lookAndFeel.setColour (juce::TextButton::buttonColourId, juce::Colour (0xff000000));
    lookAndFeel.setColour (juce::TextButton::buttonOnColourId, juce::Colour (0xff555555));
    setLookAndFeel (&lookAndFeel);

    // The marker only shows where a click would go; the click itself reaches the strip.
    addChildComponent (addButton);
    addButton.setInterceptsMouseClicks (false, false);
}

MultiAudioEditor::AddCrossover::~AddCrossover()
{
    setLookAndFeel (nullptr);
}

bool MultiAudioEditor::AddCrossover::canAddAt (juce::Point<int> position) const
{
    return activeArea.contains (position) && processor.readRecords().crossoverCount < maxCrossovers;
}

void MultiAudioEditor::AddCrossover::followMouse (juce::Point<int> position)
{
    if (canAddAt (position))
    {
        addButton.setVisible (true);
        addButton.setBounds (position.x - markerSize / 2, 0, markerSize, markerSize);
    }
    else
    {
        addButton.setVisible (false);
    }
}

void MultiAudioEditor::AddCrossover::mouseMove (const juce::MouseEvent& e)
{
    followMouse (e.getPosition());
}

void MultiAudioEditor::AddCrossover::mouseEnter (const juce::MouseEvent& e)
{
    // The marker shows on entering only where a click would add a crossover,
    // so it never promises a split that cannot be made.
    addButton.toFront (true);
    followMouse (e.getPosition());
}

void MultiAudioEditor::AddCrossover::mouseExit (const juce::MouseEvent&)
{
    addButton.setVisible (false);
    addButton.toBack();
}

void MultiAudioEditor::AddCrossover::mouseDown (const juce::MouseEvent& e)
{
    if (canAddAt (e.getPosition()))
        sendChangeMessage();
}

void MultiAudioEditor::AddCrossover::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0x00000000));
}

bool MultiAudioEditor::AddCrossover::hitTest (int x, int y)
{
    if (handleBehind != nullptr && handleBehind->isVisible())
    {
        const auto inHandle = handleBehind->getLocalPoint (this, juce::Point<int> (x, y));
        if (handleBehind->hitTest (inHandle.x, inHandle.y))
            return false;
    }
    return juce::Component::hitTest (x, y);
}

void MultiAudioEditor::AddCrossover::giveWayTo (juce::Component& levelHandle)
{
    handleBehind = &levelHandle;
}

void MultiAudioEditor::AddCrossover::resized()
{
    activeArea = getLocalBounds().reduced (endMargin, 1);
}
