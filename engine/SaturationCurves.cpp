#include "SaturationCurves.h"


//==============================================================================
TapeNoiseSource::TapeNoiseSource (std::uint64_t seed) noexcept
{
    reseed (seed);
}

void TapeNoiseSource::reseed (std::uint64_t seed) noexcept
{
    // xorshift never leaves the all-zero state, so that seed is not usable.
    state = seed != 0 ? seed : defaultSeed;
}

//==============================================================================
namespace SaturationCurves
{
    std::array<std::function<float (float)>, 11> makeWaveShapers (TapeNoiseSource& noise)
    {
        // The "Tape" entry captures only a pointer, so std::function keeps it in
        // its small-object buffer and calling it never allocates.
        auto* source = &noise;

        return { softClip,
                 hardClip,
                 tube,
                 [source] (float x) noexcept { return tape (x, *source); },
                 halfRectify,
                 fullRectify,
                 chebyshev2,
                 chebyshev4,
                 chebyshev6,
                 chebyshev8,
                 {} };
    }

    namespace
    {
        template <typename Curve>
        void shapeAndScaleWith (Curve curve, float* samples, std::size_t numSamples, float scale) noexcept
        {
            for (std::size_t i = 0; i < numSamples; ++i)
                samples[i] = curve (samples[i]) * scale;
        }
    }

    void shapeAndScale (std::size_t index, float* samples, std::size_t numSamples,
                        float scale, TapeNoiseSource& noise) noexcept
    {
        switch (index)
        {
            case 0:  shapeAndScaleWith (softClip,    samples, numSamples, scale); break;
            case 1:  shapeAndScaleWith (hardClip,    samples, numSamples, scale); break;
            case 2:  shapeAndScaleWith (tube,        samples, numSamples, scale); break;
            case 3:  shapeAndScaleWith ([&noise] (float x) noexcept { return tape (x, noise); },
                                        samples, numSamples, scale); break;
            case 4:  shapeAndScaleWith (halfRectify, samples, numSamples, scale); break;
            case 5:  shapeAndScaleWith (fullRectify, samples, numSamples, scale); break;
            case 6:  shapeAndScaleWith (chebyshev2,  samples, numSamples, scale); break;
            case 7:  shapeAndScaleWith (chebyshev4,  samples, numSamples, scale); break;
            case 8:  shapeAndScaleWith (chebyshev6,  samples, numSamples, scale); break;
            case 9:  shapeAndScaleWith (chebyshev8,  samples, numSamples, scale); break;
            default: break;
        }
    }
}
