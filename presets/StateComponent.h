#pragma once

#include "presets/ABStateHolder.h"
#include "presets/PresetsHolder.h"

#include <juce_audio_processors/juce_audio_processors.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace state
{

/** The preset bar across the top of the window: A/B compare, the preset list
    and saving and deleting presets. Tells its listeners of every change.

    (Placeholder until the bar is built: an empty strip with the final
    constructor, so the window can own it.)
*/
class StateComponent : public juce::Component,
                       public juce::ChangeBroadcaster
{
public:
    StateComponent (juce::AudioProcessorValueTreeState& parameters,
                    ABStateHolder& abState,
                    PresetsHolder& presetsHolder);

    /** Re-reads presets.xml when another instance changed it since it was last read. */
    void reloadPresetsIfChanged();

    juce::AudioProcessorValueTreeState& parameters;
    ABStateHolder& abState;
    PresetsHolder& presetsHolder;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (StateComponent)
};

} // namespace state
