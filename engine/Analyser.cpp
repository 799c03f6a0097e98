#include "engine/Analyser.h"
#include "engine/RealtimeSanitizer.h"

#include <cmath>
#include <ctime>

namespace
{
// JUCE 7's lowest thread priority; the spectrum is a display aid and must
// never compete with the host.
constexpr auto analyserThreadPriority = juce::Thread::Priority::background;

juce::String makeAnalyserThreadName()
{
    return juce::String ("ZELK-MULTI-Spectrum") + juce::String ((juce::int64) std::time (nullptr));
}

// Level of an averaged magnitude on the plot's 80 dB scale: 0 for -80 dB and
// below (or no signal), 80 for 0 dB.
float levelOnPlotScale (float magnitude)
{
    if (! (magnitude > 0.0f))
        return 0.0f;

    return std::max (20.0f * std::log10 (magnitude), -80.0f) + 80.0f;
}
} // namespace

template <typename SampleType>
Analyser<SampleType>::Analyser()
    : juce::Thread (makeAnalyserThreadName())
{
    averager.clear();
}

template <typename SampleType>
Analyser<SampleType>::~Analyser()
{
    // The owner stops the thread first; this is the safety net that keeps run()
    // from touching members that are about to be destroyed.
    stopAnalysing();
}

template <typename SampleType>
void Analyser<SampleType>::setupAnalyser (int audioFifoSize, float sampleRateToUse)
{
    const juce::ScopedLock controlLock (threadControlLock);

    // The worker reads audioFifo; it must not run while the storage is replaced.
    const bool wasRunning = isThreadRunning();
    stopAnalysing();

    // A FIFO needs room for at least one sample; a smaller one simply drops
    // every block.
    const int capacity = std::max (audioFifoSize, 1);

    {
        const juce::ScopedLock averagerLock (lock);
        sampleRate = sampleRateToUse;
    }

    audioFifo.setSize (1, capacity, false, true, false);
    abstractFifo.setTotalSize (capacity);

    if (wasRunning)
        startAnalysing();
}

template <typename SampleType>
bool Analyser<SampleType>::fifoStorageMatchesCapacity() const noexcept
{
    return audioFifo.getNumChannels() == 1 && audioFifo.getNumSamples() >= abstractFifo.getTotalSize();
}

template <typename SampleType>
void Analyser<SampleType>::addAudioData (const juce::AudioBuffer<SampleType>& buffer, int numChannels)
{
    const int numSamples = buffer.getNumSamples();
    const int channelsToSum = std::min (numChannels, buffer.getNumChannels());

    // No storage yet (fed before setupAnalyser) or nothing to read from.
    if (! fifoStorageMatchesCapacity() || buffer.getNumChannels() < 1)
        return;

    if (abstractFifo.getFreeSpace() < numSamples)
        return;

    int start1, size1, start2, size2;
    abstractFifo.prepareToWrite (numSamples, start1, size1, start2, size2);

    // Raw pointers only: the worker reads the same storage, and going through
    // AudioBuffer's copy helpers would also touch its bookkeeping flags.
    auto* fifo = audioFifo.getWritePointer (0);
    const auto* firstChannel = buffer.getReadPointer (0);

    if (size1 > 0)
        juce::FloatVectorOperations::copy (fifo + start1, firstChannel, size1);
    if (size2 > 0)
        juce::FloatVectorOperations::copy (fifo + start2, firstChannel + size1, size2);

    for (int channel = 1; channel < channelsToSum; ++channel)
    {
        const auto* source = buffer.getReadPointer (channel);

        if (size1 > 0)
            juce::FloatVectorOperations::add (fifo + start1, source, size1);
        if (size2 > 0)
            juce::FloatVectorOperations::add (fifo + start2, source + size1, size2);
    }

    abstractFifo.finishedWrite (size1 + size2);
    const ScopedRealtimeSanitizerExemption wakeUpTakesTheEventsLock;
    waitForData.signal();
}

template <typename SampleType>
void Analyser<SampleType>::startAnalysing()
{
    const juce::ScopedLock controlLock (threadControlLock);

    if (! isThreadRunning())
        startThread (analyserThreadPriority);
}

template <typename SampleType>
void Analyser<SampleType>::stopAnalysing()
{
    const juce::ScopedLock controlLock (threadControlLock);

    if (isThreadRunning())
    {
        signalThreadShouldExit();
        waitForData.signal();
        stopThread (stopTimeoutMs);
    }
}

template <typename SampleType>
void Analyser<SampleType>::run()
{
    while (! threadShouldExit())
    {
        if (abstractFifo.getNumReady() >= fftSize)
        {
            readFrameFromFifo();
            windowing.multiplyWithWindowingTable (fftBuffer.getWritePointer (0), (size_t) fftSize);
            fft.performFrequencyOnlyForwardTransform (fftBuffer.getWritePointer (0));
            addFrameToAverage();
        }

        if (abstractFifo.getNumReady() < fftSize)
            waitForData.wait (waitTimeoutMs);
    }
}

template <typename SampleType>
void Analyser<SampleType>::readFrameFromFifo()
{
    fftBuffer.clear();
    auto* frame = fftBuffer.getWritePointer (0);

    int start1, size1, start2, size2;
    abstractFifo.prepareToRead (fftSize, start1, size1, start2, size2);

    if (size1 > 0)
        juce::FloatVectorOperations::copy (frame, audioFifo.getReadPointer (0, start1), size1);
    if (size2 > 0)
        juce::FloatVectorOperations::copy (frame + size1, audioFifo.getReadPointer (0, start2), size2);

    // Release only half of the frame, so consecutive frames overlap by 50 %.
    abstractFifo.finishedRead ((size1 + size2) / 2);
}

template <typename SampleType>
void Analyser<SampleType>::addFrameToAverage()
{
    auto* magnitudes = fftBuffer.getWritePointer (0);

    // NaN or infinite audio would otherwise stay in the running sum for good
    // (subtracting a NaN row leaves a NaN); such a frame counts as silence.
    for (int bin = 0; bin < numBins; ++bin)
        if (! std::isfinite (magnitudes[bin]))
            magnitudes[bin] = 0;

    const auto scale = (SampleType) 1 / (SampleType) (numBins * (averager.getNumChannels() - 1));

    const juce::ScopedLock averagerLock (lock);

    auto* runningSum = averager.getWritePointer (0);
    auto* oldestRow = averager.getWritePointer (averagerPtr);

    juce::FloatVectorOperations::subtract (runningSum, oldestRow, numBins);
    juce::FloatVectorOperations::copyWithMultiply (oldestRow, magnitudes, scale, numBins);
    juce::FloatVectorOperations::add (runningSum, oldestRow, numBins);

    if (++averagerPtr == averager.getNumChannels())
        averagerPtr = 1;

    newDataAvailable = true;
}

template <typename SampleType>
SampleType Analyser<SampleType>::getAveragedMagnitude (int bin) const
{
    if (! juce::isPositiveAndBelow (bin, numBins))
        return 0;

    const juce::ScopedLock averagerLock (lock);
    return averager.getSample (0, bin);
}

template <typename SampleType>
void Analyser<SampleType>::createPath (juce::Path& p, juce::Rectangle<int> bounds)
{
    const juce::ScopedLock averagerLock (lock);

    p.clear();
    p.preallocateSpace (8 + 3 * numBins);

    const auto x0 = (float) bounds.getX();
    const auto y0 = (float) bounds.getY();
    const auto width = (float) bounds.getWidth();
    const auto height = (float) bounds.getHeight();
    const auto* magnitudes = averager.getReadPointer (0);

    // 0 dB on the top edge, -80 dB one pixel below the bottom edge.
    const float belowBottom = 1.0f + y0 + height;
    const float pixelsPerLevelStep = (y0 - belowBottom) * 0.0125f;

    const auto yForMagnitude = [&] (float magnitude)
    {
        return levelOnPlotScale (magnitude) * pixelsPerLevelStep + belowBottom;
    };

    // Ten octaves from 20 Hz across the width; DC sits on the left edge.
    const auto xForBin = [&] (int bin)
    {
        const float frequency = (float) bin * sampleRate / (float) fftSize;

        if (frequency > 0.01f)
            return x0 + (width * 0.1f) * (std::log (frequency * 0.05f) * 1.442695f);

        return x0;
    };

    p.startNewSubPath (x0, yForMagnitude (magnitudes[0]));

    for (int bin = 0; bin < numBins; ++bin)
        p.lineTo (xForBin (bin), yForMagnitude (magnitudes[bin]));

    p = p.createPathWithRoundedCorners (plotCornerRadius);
}

template class Analyser<float>;
