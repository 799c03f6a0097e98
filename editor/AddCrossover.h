#pragma once

#include "editor/MultiAudioEditor.h"

/** The strip along the top of a band where a "+" marker follows the mouse; a
    click asks the window to add a crossover at the marker.

    (Stand-in until the overlays land.)
*/
class MultiAudioEditor::AddCrossover : public juce::Component,
                                       public juce::ChangeBroadcaster
{
public:
    explicit AddCrossover (MultiAudioProcessor& processor);
    ~AddCrossover() override;

    void mouseMove (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void resized() override;

    MultiAudioProcessor& processor;
    juce::TextButton addButton;
    juce::Rectangle<int> activeArea;
};
