#pragma once

#include "editor/AddCrossoverLookAndFeel.h"
#include "editor/MultiAudioEditor.h"

#include <juce_gui_basics/juce_gui_basics.h>

/** The strip along the top of a band in which a "+" marker follows the mouse.
    A click in the strip's active area (away from its ends and its first and
    last rows) sends a change message: the window then splits the band with a
    new crossover at the marker's centre. While no crossover can be added the
    marker stays hidden and clicks add nothing.
*/
class MultiAudioEditor::AddCrossover : public juce::Component,
                                       public juce::ChangeBroadcaster
{
public:
    using AddCrossoverLookAndFeel = ::AddCrossoverLookAndFeel;

    explicit AddCrossover (MultiAudioProcessor& processor);
    ~AddCrossover() override;

    void mouseMove (const juce::MouseEvent&) override;
    void mouseEnter (const juce::MouseEvent&) override;
    void mouseExit (const juce::MouseEvent&) override;
    void mouseDown (const juce::MouseEvent&) override;
    void paint (juce::Graphics&) override;
    void resized() override;
    bool hitTest (int x, int y) override;

    /** Where `levelHandle` (the band's level handle, lying behind the strip)
        would take a click, the strip lets the click through to it. */
    void giveWayTo (juce::Component& levelHandle);

    AddCrossoverLookAndFeel lookAndFeel;
    MultiAudioProcessor& processor;
    juce::TextButton addButton;
    juce::Rectangle<int> activeArea;

    /** The marker is a square this many pixels wide, centred on the mouse. */
    static constexpr int markerSize = 30;
    /** The strip keeps this many pixels free at either end. */
    static constexpr int endMargin = 30;

private:
    /** True when a click at `position` would add a crossover. */
    bool canAddAt (juce::Point<int> position) const;
    void followMouse (juce::Point<int> position);

    juce::Component* handleBehind = nullptr;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AddCrossover)
};
