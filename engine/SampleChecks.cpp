#include "SampleChecks.h"

#include <cstdint>
#include <cstring>

namespace SampleChecks
{
    namespace
    {
        constexpr std::uint32_t exponentBits = 0x7f800000u;

        std::uint32_t bitsOf (float x) noexcept
        {
            std::uint32_t bits;
            std::memcpy (&bits, &x, sizeof bits);
            return bits;
        }

        bool allFinite (const float* samples, size_t numSamples) noexcept
        {
            std::uint32_t anyNonFinite = 0;
            for (size_t i = 0; i < numSamples; ++i)
                anyNonFinite |= (bitsOf (samples[i]) & exponentBits) == exponentBits;
            return anyNonFinite == 0;
        }
    }

    bool allFinite (const juce::dsp::AudioBlock<float>& block) noexcept
    {
        for (size_t ch = 0; ch < block.getNumChannels(); ++ch)
            if (! allFinite (block.getChannelPointer (ch), block.getNumSamples()))
                return false;
        return true;
    }

    void replaceNonFinite (float* samples, int numSamples) noexcept
    {
        for (int i = 0; i < numSamples; ++i)
        {
            const auto finite = (bitsOf (samples[i]) & exponentBits) != exponentBits;
            samples[i] = finite ? samples[i] : 0.0f;
        }
    }
}
