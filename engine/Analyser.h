#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_dsp/juce_dsp.h>
#include <juce_graphics/juce_graphics.h>

#include <atomic>
#include <type_traits>

/**
    Spectrum analyser with its own worker thread.

    The audio thread pushes samples into a lock-free FIFO with addAudioData()
    and wakes the worker. The worker cuts the stream into 1024-sample frames
    with 50 % overlap, applies a normalised Hann window, transforms each frame
    and keeps a running average of the last four magnitude spectra. The message
    thread turns that average into a plot path with createPath() and polls
    newDataAvailable to know when to repaint.

    Threads:
    - audio thread: addAudioData() only (lock-free, allocation-free; the one
      system call is the wake-up signal);
    - worker thread: run();
    - message thread: createPath(), getAveragedMagnitude(), newDataAvailable;
    - host / parameter threads: setupAnalyser(), startAnalysing(),
      stopAnalysing(). These three are serialised against each other.
*/
template <typename SampleType>
class Analyser : public juce::Thread
{
public:
    static_assert (std::is_same_v<SampleType, float>,
                   "juce::dsp::FFT transforms single-precision data only");

    static constexpr int fftOrder = 10;
    static constexpr int fftSize = 1 << fftOrder;          // 1024 samples per frame
    static constexpr int numBins = fftSize / 2;            // 512 bins shown
    static constexpr int numAveragedFrames = 4;
    static constexpr int initialFifoCapacity = 48000;
    static constexpr int waitTimeoutMs = 100;
    static constexpr int stopTimeoutMs = 1000;
    static constexpr float plotCornerRadius = 20.0f;

    Analyser();
    ~Analyser() override;

    /** Stores the sample rate and resizes the FIFO to audioFifoSize samples,
        emptying it. Called while the host is not processing. If the worker
        thread is running it is paused around the resize and resumed after it,
        so the worker never reads storage that is being replaced. */
    void setupAnalyser (int audioFifoSize, float sampleRateToUse);

    /** Audio thread: appends the sum of the first numChannels channels of
        buffer to the FIFO and wakes the worker. A block that does not fit into
        the free space is dropped whole. */
    void addAudioData (const juce::AudioBuffer<SampleType>& buffer, int numChannels);

    /** Starts the worker thread at the lowest priority unless it is running. */
    void startAnalysing();

    /** Stops the worker thread if it is running: asks it to exit, wakes it if
        it is waiting for audio and gives it up to a second to finish. */
    void stopAnalysing();

    /** Builds the plot of the averaged spectrum into p: ten octaves from 20 Hz
        across the width of bounds, 0 dB at the top edge down to -80 dB one
        pixel below the bottom edge, corners rounded. */
    void createPath (juce::Path& p, juce::Rectangle<int> bounds);

    /** The averaged magnitude of one bin (1.0 for a full-scale sine at the
        bin's centre); 0 for a bin outside 0..numBins - 1. */
    SampleType getAveragedMagnitude (int bin) const;

    void run() override;

    /** Set by the worker after every averaged frame; the window exchanges it
        with false and repaints when it was true. */
    std::atomic<bool> newDataAvailable { false };

private:
    bool fifoStorageMatchesCapacity() const noexcept;
    void readFrameFromFifo();
    void addFrameToAverage();

    juce::WaitableEvent waitForData;   // auto-reset
    juce::CriticalSection lock;        // guards averager, averagerPtr and sampleRate
    float sampleRate = 0.0f;

    juce::dsp::FFT fft { fftOrder };
    juce::dsp::WindowingFunction<SampleType> windowing {
        (size_t) fftSize, juce::dsp::WindowingFunction<SampleType>::hann, true
    };
    juce::AudioBuffer<SampleType> fftBuffer { 1, fftSize * 2 };

    // Row 0 is the running sum drawn on screen; rows 1..4 hold the last four
    // scaled spectra.
    juce::AudioBuffer<SampleType> averager { numAveragedFrames + 1, numBins };
    int averagerPtr = 1;

    juce::AbstractFifo abstractFifo { initialFifoCapacity };
    juce::AudioBuffer<SampleType> audioFifo;

    // Serialises starting, stopping and resizing; never taken by the audio
    // thread or the worker.
    juce::CriticalSection threadControlLock;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (Analyser)
};

extern template class Analyser<float>;
