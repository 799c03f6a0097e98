#include "presets/StateComponent.h"

namespace state
{

StateComponent::StateComponent (juce::AudioProcessorValueTreeState& parametersToUse,
                                ABStateHolder& abStateToUse,
                                PresetsHolder& presetsHolderToUse)
    : parameters (parametersToUse), abState (abStateToUse), presetsHolder (presetsHolderToUse)
{
}

void StateComponent::reloadPresetsIfChanged()
{
}

} // namespace state
