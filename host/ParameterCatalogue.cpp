#include "ParameterCatalogue.h"

#include "engine/ParameterLayout.h"

namespace zelkhost
{
    ParameterCatalogue::ParameterCatalogue()
    {
        mParameters = std::make_unique<juce::AudioProcessorValueTreeState> (*this, nullptr, "PARAMS", createParameterLayout());
    }

    ParameterCatalogue::~ParameterCatalogue() = default;
}
