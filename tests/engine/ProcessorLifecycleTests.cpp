// The analyser threads over the processor's life: started only by the plot
// switches, stopped by releaseResources and by deletion, never by prepare.

#include "support/ProcessorHarness.h"

#include <gtest/gtest.h>

using testsupport::setPlain;

TEST (ProcessorLifecycle, PrepareNeverRestartsAnAnalyserThatReleaseStopped)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 256);
    setPlain (processor.apvts, "input_plot", 1.0f);
    ASSERT_TRUE (processor.inputAnalyser.isThreadRunning());
    EXPECT_FALSE (processor.outputAnalyser.isThreadRunning());

    processor.releaseResources();
    EXPECT_FALSE (processor.inputAnalyser.isThreadRunning());

    processor.prepareToPlay (48000.0, 256);
    EXPECT_FALSE (processor.inputAnalyser.isThreadRunning());

    setPlain (processor.apvts, "input_plot", 0.0f);
    setPlain (processor.apvts, "input_plot", 1.0f);
    EXPECT_TRUE (processor.inputAnalyser.isThreadRunning());
}

TEST (ProcessorLifecycle, DeletingAProcessorStopsItsRunningAnalysers)
{
    auto processor = std::make_unique<MultiAudioProcessor>();
    testsupport::prepare (*processor, 44100.0, 512);
    setPlain (processor->apvts, "input_plot", 1.0f);
    setPlain (processor->apvts, "output_plot", 1.0f);
    ASSERT_TRUE (processor->inputAnalyser.isThreadRunning());
    ASSERT_TRUE (processor->outputAnalyser.isThreadRunning());

    // Both threads wait for audio; deletion wakes them instead of waiting out
    // the 1000 ms stop limit of each.
    const auto start = juce::Time::getMillisecondCounterHiRes();
    processor.reset();
    EXPECT_LT (juce::Time::getMillisecondCounterHiRes() - start, 2000.0);
}

TEST (ProcessorLifecycle, AnalysersAreFedOnlyWhileTheirSwitchIsOn)
{
    MultiAudioProcessor processor;
    testsupport::prepare (processor, 48000.0, 1024);
    std::vector<float> loud (8192, 0.5f);

    testsupport::render (processor, loud, 1024);
    EXPECT_FALSE (processor.inputAnalyser.newDataAvailable.load());

    setPlain (processor.apvts, "output_plot", 1.0f);
    testsupport::render (processor, loud, 1024);
    for (int wait = 0; wait < 200 && ! processor.outputAnalyser.newDataAvailable.load(); ++wait)
        juce::Thread::sleep (5);
    EXPECT_TRUE (processor.outputAnalyser.newDataAvailable.load());
    EXPECT_FALSE (processor.inputAnalyser.newDataAvailable.load());
}
