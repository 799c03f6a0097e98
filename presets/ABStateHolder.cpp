#include "presets/ABStateHolder.h"

#include "presets/ParameterSetXml.h"

ABStateHolder::ABStateHolder (juce::AudioProcessor& owner)
    : processor (&owner)
{
    captureParametersToXml (owner, storedSet);
}
