#include "WindowTestSupport.h"

#include "editor/OutputControls.h"
#include "editor/ResponseDisplay.h"

#include <cmath>

using windowtest::OpenWindow;

namespace
{
    void switchBothPlotsOn (MultiAudioProcessor& processor)
    {
        windowtest::setPlain (processor, "input_plot", 1.0f);
        windowtest::setPlain (processor, "output_plot", 1.0f);
    }

    /** Plays a few blocks of a 1 kHz tone and waits for the analysers to publish. */
    void playTone (MultiAudioProcessor& processor)
    {
        processor.setRateAndBufferSizeDetails (48000.0, 512);
        processor.prepareToPlay (48000.0, 512);
        juce::AudioBuffer<float> block (2, 512);
        juce::MidiBuffer midi;
        int sample = 0;
        for (int n = 0; n < 40; ++n)
        {
            for (int i = 0; i < 512; ++i, ++sample)
                for (int ch = 0; ch < 2; ++ch)
                    block.setSample (ch, i, 0.5f * std::sin (juce::MathConstants<float>::twoPi * 1000.0f * (float) sample / 48000.0f));
            processor.processBlock (block, midi);
            windowtest::pumpMessages (5);
        }
        windowtest::pumpMessages (300);
    }

    int pixelsOfColour (const juce::Image& image, juce::Colour colour)
    {
        int count = 0;
        for (int y = 50; y < image.getHeight(); ++y)   // below the "In" and "Out" buttons
            for (int x = 0; x < image.getWidth(); ++x)
            {
                const auto pixel = image.getPixelAt (x, y);
                count += std::abs (pixel.getRed() - colour.getRed()) < 40 && std::abs (pixel.getGreen() - colour.getGreen()) < 40
                         && std::abs (pixel.getBlue() - colour.getBlue()) < 40;
            }
        return count;
    }

    const juce::Colour litGrey { 0xffa8a8a8 };     // 0xccd3d3d3 over black
    const juce::Colour litGreen { 0xff8acc25 };    // 0xccadff2f over black
}

TEST (ResponseDisplay, OpeningAndClosingTheWindowSwitchBothPlotsOffAndLeaveBypass)
{
    OpenWindow window ([] (MultiAudioProcessor& p) { switchBothPlotsOn (p); windowtest::setPlain (p, "bypass", 1.0f); });
    auto& display = *window.editor->responseDisplay;
    EXPECT_TRUE (window.editor->outputControls->bypassButton.getToggleState()) << "BYPASS mirrors the parameter";
    EXPECT_EQ (windowtest::getPlain (window.processor, "bypass"), 1.0f);

    EXPECT_EQ (windowtest::getPlain (window.processor, "input_plot"), 0.0f);
    EXPECT_EQ (windowtest::getPlain (window.processor, "output_plot"), 0.0f);
    EXPECT_FALSE (display.showInputButton.getToggleState());
    EXPECT_FALSE (display.showOutputButton.getToggleState());
    EXPECT_FALSE (display.isTimerRunning());
    EXPECT_EQ (display.getSwitchesArea (display), juce::Rectangle<int> (5, 5, 35, 42));   // "In" (5, 5, 35, 20), "Out" (5, 27, 35, 20)

    switchBothPlotsOn (window.processor);
    windowtest::pumpMessages();
    EXPECT_TRUE (display.isTimerRunning());
    window.editor.reset();
    EXPECT_EQ (windowtest::getPlain (window.processor, "input_plot"), 0.0f);
    EXPECT_EQ (windowtest::getPlain (window.processor, "output_plot"), 0.0f);
}

TEST (ResponseDisplay, ButtonsDriveTheTimerAndTheCurves)
{
    OpenWindow window;
    auto& display = *window.editor->responseDisplay;

    window.clickCentre (display.showInputButton);
    EXPECT_EQ (windowtest::getPlain (window.processor, "input_plot"), 1.0f);
    EXPECT_TRUE (display.isTimerRunning());
    EXPECT_EQ (display.getTimerInterval(), 33);
    window.clickCentre (display.showOutputButton);
    EXPECT_EQ (windowtest::getPlain (window.processor, "output_plot"), 1.0f);

    playTone (window.processor);
    auto plot = display.createComponentSnapshot (display.getLocalBounds());
    EXPECT_GT (pixelsOfColour (plot, litGrey), 100);
    EXPECT_GT (pixelsOfColour (plot, litGreen), 100);

    // One off: the timer goes on; both off: it stops and the plot is black at once.
    window.clickCentre (display.showInputButton);
    EXPECT_TRUE (display.isTimerRunning());
    window.clickCentre (display.showOutputButton);
    EXPECT_FALSE (display.isTimerRunning());
    plot = display.createComponentSnapshot (display.getLocalBounds());
    EXPECT_EQ (pixelsOfColour (plot, litGrey) + pixelsOfColour (plot, litGreen), 0);
    window.processor.releaseResources();
}

TEST (ResponseDisplay, OneRepaintPerTickInputFirst)
{
    OpenWindow window;
    auto& display = *window.editor->responseDisplay;
    auto& inputFlag = window.processor.inputAnalyser.newDataAvailable;
    auto& outputFlag = window.processor.outputAnalyser.newDataAvailable;

    inputFlag = true;
    outputFlag = true;
    display.timerCallback();
    EXPECT_FALSE (inputFlag.load());
    EXPECT_TRUE (outputFlag.load()) << "the output spectrum waits for the next tick";
    display.timerCallback();
    EXPECT_FALSE (outputFlag.load());
}
