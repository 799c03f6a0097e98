#include "engine/Analyser.h"
#include "support/AllocationCounter.h"
#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>
#include <functional>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

namespace
{
using FloatAnalyser = Analyser<float>;
using Clock = std::chrono::steady_clock;

constexpr float testSampleRate = 48000.0f;
constexpr int frameSize = FloatAnalyser::fftSize;
constexpr int hopSize = frameSize / 2;
constexpr auto generousTimeout = std::chrono::seconds (5);

float binFrequency (int bin) { return (float) bin * testSampleRate / (float) frameSize; }

/** Feeds a continuous signal, given sample by sample, in blocks of any size. */
class SignalFeeder
{
public:
    SignalFeeder (FloatAnalyser& analyserToFeed, std::function<float (int channel, int64_t index)> signal)
        : analyser (analyserToFeed), signalAt (std::move (signal))
    {
    }

    void feed (int numSamples, int numBufferChannels = 1, int numChannelsToAnalyse = 1)
    {
        juce::AudioBuffer<float> block (numBufferChannels, numSamples);

        for (int channel = 0; channel < numBufferChannels; ++channel)
            for (int i = 0; i < numSamples; ++i)
                block.setSample (channel, i, signalAt (channel, position + i));

        analyser.addAudioData (block, numChannelsToAnalyse);
        position += numSamples;
    }

private:
    FloatAnalyser& analyser;
    std::function<float (int, int64_t)> signalAt;
    int64_t position = 0;
};

std::function<float (int, int64_t)> sineAtBin (int bin, float amplitude)
{
    return [=] (int, int64_t index)
    {
        const auto phase = juce::MathConstants<double>::twoPi * (double) bin * (double) (index % frameSize) / frameSize;
        return amplitude * (float) std::sin (phase);
    };
}

std::function<float (int, int64_t)> constantSignal (float value)
{
    return [=] (int, int64_t) { return value; };
}

bool waitUntil (const std::function<bool()>& condition)
{
    const auto deadline = Clock::now() + generousTimeout;

    while (Clock::now() < deadline)
    {
        if (condition())
            return true;

        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    return condition();
}

bool waitForAveragedFrame (FloatAnalyser& analyser)
{
    return waitUntil ([&] { return analyser.newDataAvailable.exchange (false); });
}

/** Feeds exactly enough samples for one more frame and waits until the worker
    has averaged it. The first call needs a full frame, later ones a hop. */
void feedOneFrame (FloatAnalyser& analyser, SignalFeeder& feeder, bool firstFrame,
                   int numBufferChannels = 1, int numChannelsToAnalyse = 1)
{
    feeder.feed (firstFrame ? frameSize : hopSize, numBufferChannels, numChannelsToAnalyse);
    ASSERT_TRUE (waitForAveragedFrame (analyser)) << "the worker did not average a frame";
}

void feedFrames (FloatAnalyser& analyser, SignalFeeder& feeder, int numFrames, bool startFresh = true,
                 int numBufferChannels = 1, int numChannelsToAnalyse = 1)
{
    for (int frame = 0; frame < numFrames; ++frame)
        feedOneFrame (analyser, feeder, startFresh && frame == 0, numBufferChannels, numChannelsToAnalyse);
}

struct PathPoints
{
    juce::Point<float> start;
    std::vector<juce::Point<float>> vertices;   // line ends and curve control points
};

PathPoints collectPoints (const juce::Path& path)
{
    PathPoints points;
    juce::Path::Iterator it (path);
    bool first = true;

    while (it.next())
    {
        using Type = juce::Path::Iterator::PathElementType;

        if (it.elementType == Type::startNewSubPath && first)
            points.start = { it.x1, it.y1 };
        else if (it.elementType == Type::lineTo || it.elementType == Type::startNewSubPath)
            points.vertices.push_back ({ it.x1, it.y1 });
        else if (it.elementType == Type::quadraticTo)
            points.vertices.push_back ({ it.x1, it.y1 });

        first = false;
    }

    return points;
}

float expectedY (float magnitude, juce::Rectangle<int> bounds)
{
    const float level = magnitude > 0 ? std::max (20.0f * std::log10 (magnitude), -80.0f) + 80.0f : 0.0f;
    const float belowBottom = (float) bounds.getBottom() + 1.0f;
    return belowBottom - level * ((float) bounds.getHeight() + 1.0f) / 80.0f;
}

class AnalyserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        analyser.setupAnalyser ((int) testSampleRate, testSampleRate);
    }

    void TearDown() override { analyser.stopAnalysing(); }

    FloatAnalyser analyser;
    const juce::Rectangle<int> plotBounds { 10, 20, 800, 200 };
};
} // namespace

//==============================================================================
TEST (AnalyserConstruction, ThreadIsIdleAndNamedWithStartTime)
{
    const auto before = (juce::int64) std::time (nullptr);
    FloatAnalyser analyser;
    const auto after = (juce::int64) std::time (nullptr);

    EXPECT_FALSE (analyser.isThreadRunning());
    EXPECT_FALSE (analyser.newDataAvailable.load());

    const auto name = analyser.getThreadName();
    ASSERT_TRUE (name.startsWith ("ZELK-MULTI-Spectrum"));
    const auto suffix = name.fromFirstOccurrenceOf ("ZELK-MULTI-Spectrum", false, false);
    ASSERT_TRUE (suffix.containsOnly ("0123456789")) << suffix;
    EXPECT_GE (suffix.getLargeIntValue(), before);
    EXPECT_LE (suffix.getLargeIntValue(), after);

    for (int bin = 0; bin < FloatAnalyser::numBins; ++bin)
        ASSERT_EQ (analyser.getAveragedMagnitude (bin), 0.0f);
}

//==============================================================================
TEST_F (AnalyserTest, SilenceIsDrawnOnePixelBelowTheBottomEdge)
{
    SignalFeeder feeder (analyser, constantSignal (0.0f));
    analyser.startAnalysing();
    feedFrames (analyser, feeder, 4);

    juce::Path path;
    analyser.createPath (path, plotBounds);

    ASSERT_FALSE (path.isEmpty());
    const auto area = path.getBounds();
    const auto belowBottom = (float) plotBounds.getBottom() + 1.0f;
    EXPECT_FLOAT_EQ (area.getY(), belowBottom);
    EXPECT_FLOAT_EQ (area.getBottom(), belowBottom);
    EXPECT_FLOAT_EQ (area.getX(), (float) plotBounds.getX());
}

TEST_F (AnalyserTest, FullScaleSineAtBinCentreSettlesAtOneAfterFourFrames)
{
    constexpr int bin = 40;
    SignalFeeder feeder (analyser, sineAtBin (bin, 1.0f));
    analyser.startAnalysing();

    for (int frame = 1; frame <= 4; ++frame)
    {
        feedOneFrame (analyser, feeder, frame == 1);
        EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 0.25f * (float) frame, 0.01f) << "after frame " << frame;
    }

    // Later frames replace the oldest one: the average stays put.
    feedFrames (analyser, feeder, 3, false);
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 1.0f, 0.01f);

    // The Hann window spreads half the level into each neighbour and nothing further.
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin - 1), 0.5f, 0.02f);
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin + 1), 0.5f, 0.02f);
    EXPECT_LT (analyser.getAveragedMagnitude (bin + 10), 1.0e-3f);
    EXPECT_LT (analyser.getAveragedMagnitude (bin - 10), 1.0e-3f);
}

TEST_F (AnalyserTest, StereoChannelsAreSummedNotAveraged)
{
    constexpr int bin = 64;
    SignalFeeder feeder (analyser, sineAtBin (bin, 0.25f));
    analyser.startAnalysing();
    feedFrames (analyser, feeder, 4, true, 2, 2);

    // Two identical channels of 0.25 read as 0.5: +6 dB over one channel.
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 0.5f, 0.01f);
}

TEST (ProcessorAnalysers, WhileBypassedBothPlotsShowWhatPasses)
{
    constexpr int bin = 64;
    MultiAudioProcessor processor;
    for (auto id : { "bypass", "input_plot", "output_plot" })
        testsupport::setPlain (processor.apvts, id, 1.0f);
    testsupport::prepare (processor, testSampleRate, 256);

    std::vector<float> sine (3 * frameSize);    // five frames of a stereo sine of 0.25 at the bin's centre
    for (size_t i = 0; i < sine.size(); ++i)
        sine[i] = sineAtBin (bin, 0.25f) (0, (int64_t) i);
    testsupport::render (processor, sine, 256);

    for (auto* analyser : { &processor.inputAnalyser, &processor.outputAnalyser })
        EXPECT_TRUE (waitUntil ([&] { return analyser->getAveragedMagnitude (bin) > 0.45f
                                             && analyser->getAveragedMagnitude (bin + 10) < 1.0e-3f; }));
}

TEST_F (AnalyserTest, OnlyTheRequestedChannelsAreAnalysed)
{
    constexpr int bin = 64;
    constexpr int otherBin = 200;
    const auto sine = sineAtBin (bin, 0.5f);
    const auto other = sineAtBin (otherBin, 0.5f);
    SignalFeeder feeder (analyser, [&] (int channel, int64_t index)
                         { return channel == 0 ? sine (0, index) : other (0, index); });
    analyser.startAnalysing();

    // A stereo buffer analysed as mono: channel 1 is ignored.
    feedFrames (analyser, feeder, 4, true, 2, 1);
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 0.5f, 0.01f);
    EXPECT_LT (analyser.getAveragedMagnitude (otherBin), 1.0e-3f);

    // More channels asked for than the buffer has: the available ones are
    // summed. The first of these frames still overlaps the mono hop.
    feedFrames (analyser, feeder, 5, false, 2, 8);
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 0.5f, 0.01f);
    EXPECT_NEAR (analyser.getAveragedMagnitude (otherBin), 0.5f, 0.01f);
}

//==============================================================================
TEST_F (AnalyserTest, BlockLargerThanFreeSpaceIsDroppedWholeAndTheNextFittingBlockIsAccepted)
{
    constexpr int bin = 40;
    constexpr int intruderBin = 100;
    constexpr int capacity = 2048;
    analyser.setupAnalyser (capacity, testSampleRate);
    analyser.startAnalysing();

    SignalFeeder wanted (analyser, sineAtBin (bin, 1.0f));
    SignalFeeder intruder (analyser, sineAtBin (intruderBin, 1.0f));

    feedOneFrame (analyser, wanted, true);   // a hop is left: free space 2048 - 1 - 512
    const int freeSpace = capacity - 1 - hopSize;

    intruder.feed (freeSpace + 1);           // one sample too many: dropped whole
    feedOneFrame (analyser, wanted, false);  // a hop fits and completes frame two
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 0.5f, 0.01f);
    EXPECT_LT (analyser.getAveragedMagnitude (intruderBin), 1.0e-3f);

    // A block of exactly the free space fits: it completes frames three and four.
    wanted.feed (freeSpace);
    ASSERT_TRUE (waitUntil ([&] { return analyser.getAveragedMagnitude (bin) > 0.99f; }));
    EXPECT_LT (analyser.getAveragedMagnitude (intruderBin), 1.0e-3f);
}

TEST (AnalyserFifo, AudioBeforeSetupOrWithoutChannelsIsIgnored)
{
    FloatAnalyser analyser;
    analyser.startAnalysing();

    juce::AudioBuffer<float> block (2, frameSize * 2);
    block.clear();
    block.setSample (0, 10, 1.0f);
    analyser.addAudioData (block, 2);

    juce::AudioBuffer<float> noChannels (0, frameSize * 2);
    analyser.setupAnalyser ((int) testSampleRate, testSampleRate);
    analyser.addAudioData (noChannels, 2);

    std::this_thread::sleep_for (std::chrono::milliseconds (150));
    EXPECT_FALSE (analyser.newDataAvailable.load());
    EXPECT_EQ (analyser.getAveragedMagnitude (0), 0.0f);
}

TEST (AnalyserFifo, DegenerateFifoSizeDropsEverythingWithoutHarm)
{
    FloatAnalyser analyser;
    analyser.setupAnalyser (0, testSampleRate);
    analyser.startAnalysing();

    SignalFeeder feeder (analyser, constantSignal (1.0f));
    feeder.feed (1);
    feeder.feed (frameSize);

    std::this_thread::sleep_for (std::chrono::milliseconds (150));
    EXPECT_FALSE (analyser.newDataAvailable.load());
}

TEST_F (AnalyserTest, NonFiniteAudioDoesNotPoisonTheAverage)
{
    constexpr int bin = 40;
    const auto sine = sineAtBin (bin, 1.0f);
    std::atomic<bool> garbage { true };
    SignalFeeder feeder (analyser, [&] (int, int64_t index)
                         {
                             if (garbage)
                                 return index % 3 == 0 ? std::numeric_limits<float>::quiet_NaN()
                                                       : std::numeric_limits<float>::infinity();
                             return sine (0, index);
                         });
    analyser.startAnalysing();

    feedFrames (analyser, feeder, 4);
    garbage = false;

    // One frame still overlaps the garbage; four clean frames follow it.
    feedFrames (analyser, feeder, 5, false);
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 1.0f, 0.01f);

    juce::Path path;
    analyser.createPath (path, plotBounds);
    const auto area = path.getBounds();
    EXPECT_TRUE (std::isfinite (area.getY()) && std::isfinite (area.getBottom()));
}

//==============================================================================
TEST_F (AnalyserTest, PlotMapsLevelToHeightAndFrequencyToOctavesFromTwentyHertz)
{
    constexpr int bin = 40;
    SignalFeeder feeder (analyser, sineAtBin (bin, 1.0f));
    analyser.startAnalysing();
    feedFrames (analyser, feeder, 4);

    juce::Path path;
    analyser.createPath (path, plotBounds);
    const auto points = collectPoints (path);
    ASSERT_FALSE (points.vertices.empty());

    // The rounded corners keep each original point as a vertex or control
    // point; the highest one is the sine's bin.
    const auto peak = *std::min_element (points.vertices.begin(), points.vertices.end(),
                                         [] (auto a, auto b) { return a.y < b.y; });

    const float tenOctaves = (float) plotBounds.getWidth() * 0.1f;
    const float expectedX = (float) plotBounds.getX() + tenOctaves * std::log2 (binFrequency (bin) / 20.0f);
    EXPECT_NEAR (peak.x, expectedX, 0.05f);
    EXPECT_NEAR (peak.y, (float) plotBounds.getY(), 0.5f);   // 0 dB on the top edge

    // The neighbour at half the level sits 6 dB lower.
    const float neighbourX = (float) plotBounds.getX() + tenOctaves * std::log2 (binFrequency (bin + 1) / 20.0f);
    const auto neighbour = std::find_if (points.vertices.begin(), points.vertices.end(),
                                         [&] (auto p) { return std::abs (p.x - neighbourX) < 0.05f; });
    ASSERT_NE (neighbour, points.vertices.end());
    EXPECT_NEAR (neighbour->y, expectedY (0.5f, plotBounds), 0.5f);

    // Bins above 20480 Hz are kept, to the right of the bounds.
    EXPECT_GT (path.getBounds().getRight(), (float) plotBounds.getRight());
}

TEST_F (AnalyserTest, BinZeroIsDrawnAtTheLeftEdgeAtTheDcLevel)
{
    SignalFeeder feeder (analyser, constantSignal (0.05f));
    analyser.startAnalysing();
    feedFrames (analyser, feeder, 4);

    const float dcLevel = analyser.getAveragedMagnitude (0);
    ASSERT_NEAR (dcLevel, 0.1f, 0.002f);   // -20 dB

    juce::Path path;
    analyser.createPath (path, plotBounds);
    const auto points = collectPoints (path);

    EXPECT_FLOAT_EQ (points.start.x, (float) plotBounds.getX());
    EXPECT_NEAR (points.start.y, expectedY (dcLevel, plotBounds), 0.01f);

    for (const auto& p : points.vertices)
    {
        ASSERT_TRUE (std::isfinite (p.x) && std::isfinite (p.y));
        ASSERT_GE (p.x, (float) plotBounds.getX());
    }
}

//==============================================================================
TEST_F (AnalyserTest, StartStopStartKeepsTheAverageAndTheQueuedAudio)
{
    constexpr int bin = 40;
    SignalFeeder feeder (analyser, sineAtBin (bin, 1.0f));

    analyser.startAnalysing();
    ASSERT_TRUE (analyser.isThreadRunning());
    feedFrames (analyser, feeder, 4);

    analyser.stopAnalysing();
    EXPECT_FALSE (analyser.isThreadRunning());
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 1.0f, 0.01f);

    analyser.startAnalysing();
    ASSERT_TRUE (analyser.isThreadRunning());
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 1.0f, 0.01f);

    // The hop left in the FIFO before the stop plus one new hop make a frame.
    feedOneFrame (analyser, feeder, false);
    EXPECT_NEAR (analyser.getAveragedMagnitude (bin), 1.0f, 0.01f);
}

TEST_F (AnalyserTest, StopWakesAWaitingThreadPromptly)
{
    analyser.startAnalysing();
    std::this_thread::sleep_for (std::chrono::milliseconds (30));   // let it wait for audio

    const auto started = Clock::now();
    analyser.stopAnalysing();
    const auto elapsed = Clock::now() - started;

    EXPECT_FALSE (analyser.isThreadRunning());
    EXPECT_LT (elapsed, std::chrono::milliseconds (500));   // the limit before a forced kill is 1000
}

TEST_F (AnalyserTest, StoppingAStoppedAnalyserAndStartingARunningOneChangeNothing)
{
    analyser.stopAnalysing();
    EXPECT_FALSE (analyser.isThreadRunning());

    analyser.startAnalysing();
    analyser.startAnalysing();
    EXPECT_TRUE (analyser.isThreadRunning());

    analyser.stopAnalysing();
    analyser.stopAnalysing();
    EXPECT_FALSE (analyser.isThreadRunning());
}

TEST_F (AnalyserTest, SetupWhileRunningKeepsTheThreadRunningOnTheNewFifo)
{
    constexpr int bin = 40;
    SignalFeeder feeder (analyser, sineAtBin (bin, 1.0f));
    analyser.startAnalysing();
    feedOneFrame (analyser, feeder, true);

    analyser.setupAnalyser (4096, 96000.0f);
    EXPECT_TRUE (analyser.isThreadRunning());

    // The FIFO was emptied: a hop alone is not a frame any more, a full frame is.
    feeder.feed (hopSize);
    std::this_thread::sleep_for (std::chrono::milliseconds (150));
    EXPECT_FALSE (analyser.newDataAvailable.exchange (false));
    feeder.feed (hopSize);
    EXPECT_TRUE (waitForAveragedFrame (analyser));

    // A stopped analyser stays stopped through a setup.
    analyser.stopAnalysing();
    analyser.setupAnalyser (4096, 44100.0f);
    EXPECT_FALSE (analyser.isThreadRunning());
}

TEST_F (AnalyserTest, SetupWhileTheWorkerIsBusyReplacesTheFifoSafely)
{
    // The host may prepare again while a plot is on. The worker must not be
    // reading the FIFO's storage while setupAnalyser replaces it; the
    // ThreadSanitizer build reports it if it is.
    SignalFeeder feeder (analyser, sineAtBin (40, 1.0f));
    analyser.startAnalysing();

    for (int round = 0; round < 5; ++round)
    {
        const int capacity = round % 2 == 0 ? 44100 : 48000;
        analyser.setupAnalyser (capacity, (float) capacity);
        feeder.feed (capacity - 1);   // a backlog of some eighty frames
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }

    analyser.setupAnalyser (48000, testSampleRate);
    EXPECT_TRUE (analyser.isThreadRunning());

    analyser.newDataAvailable = false;
    feeder.feed (frameSize);
    EXPECT_TRUE (waitForAveragedFrame (analyser));
}

TEST_F (AnalyserTest, FeedingAnalysingPlottingAndSwitchingConcurrentlyIsSafe)
{
    // Mainly for the ThreadSanitizer build: every thread that meets the
    // analyser in the plug-in works at once.
    std::atomic<bool> finished { false };
    analyser.startAnalysing();

    std::thread audioThread ([&]
    {
        SignalFeeder feeder (analyser, sineAtBin (40, 0.5f));

        while (! finished)
        {
            feeder.feed (256, 2, 2);
            std::this_thread::sleep_for (std::chrono::milliseconds (5));   // about real time
        }
    });

    std::thread parameterThread ([&]
    {
        for (int i = 0; i < 10 && ! finished; ++i)
        {
            analyser.stopAnalysing();
            std::this_thread::sleep_for (std::chrono::milliseconds (5));
            analyser.startAnalysing();
            std::this_thread::sleep_for (std::chrono::milliseconds (15));
        }
    });

    int repaints = 0;
    const auto end = Clock::now() + std::chrono::milliseconds (300);

    while (Clock::now() < end)
    {
        if (analyser.newDataAvailable.exchange (false))
        {
            juce::Path path;
            analyser.createPath (path, plotBounds);
            ++repaints;
        }

        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }

    finished = true;
    audioThread.join();
    parameterThread.join();

    EXPECT_GT (repaints, 0);
    EXPECT_NEAR (analyser.getAveragedMagnitude (40), 1.0f, 0.05f);
}

//==============================================================================
TEST_F (AnalyserTest, AddAudioDataAllocatesNothing)
{
    ASSERT_TRUE (testsupport::AllocationCounter::isInstalled())
        << "tests/support/AllocationCounter.cpp must be linked into this test program";

    juce::AudioBuffer<float> block (2, 480);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < block.getNumSamples(); ++i)
            block.setSample (channel, i, std::sin (0.01f * (float) (i + channel)));

    analyser.startAnalysing();

    testsupport::AllocationCounter counter;

    // Enough blocks to wrap around the one-second FIFO and to drop some.
    for (int i = 0; i < 300; ++i)
        analyser.addAudioData (block, 2);

    EXPECT_EQ (counter.getNumAllocations(), 0);
    EXPECT_EQ (counter.getNumDeallocations(), 0);
}

TEST (AllocationCounterTest, CountsOnlyTheCallingThreadWhileAlive)
{
    ASSERT_TRUE (testsupport::AllocationCounter::isInstalled())
        << "tests/support/AllocationCounter.cpp must be linked into this test program";

    std::vector<int>* before = new std::vector<int> (10);

    testsupport::AllocationCounter counter;
    std::thread other ([] { delete new std::vector<int> (100); });
    other.join();

    std::vector<std::unique_ptr<int>> values;
    values.push_back (std::make_unique<int> (1));
    delete before;

    EXPECT_GE (counter.getNumAllocations(), 2);   // the vector's storage and the int
    EXPECT_EQ (counter.getNumDeallocations(), 2); // only the earlier vector and its storage
}
