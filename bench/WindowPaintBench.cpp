// The window painted in the software renderer at 950 x 525 with both spectra
// on and three crossovers:
//  - fullRepaint: every component drawn afresh (every cached image thrown
//    away first), in the band view and in the output view; "ms_per_repaint";
//  - spectrumFrame: what one tick of the response display's 33 ms timer costs
//    the message thread: the response display redrawn (its curves rebuilt
//    from the analysers) and the plot area composed again with the cached
//    overlays over it. "core_percent_at_30fps" is that cost at 30 frames a
//    second as a share of one core.

#include "editor/MultiAudioEditor.h"
#include "editor/ResponseDisplay.h"
#include "engine/MultiAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>

namespace juce
{
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    void deliverPendingMessages()
    {
        while (juce::dispatchNextMessageOnSystemQueue (true)) {}
    }

    void setPlain (MultiAudioProcessor& processor, const juce::String& id, float value)
    {
        auto* parameter = processor.apvts.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    void throwAwayCachedImages (juce::Component& component)
    {
        if (auto* cache = component.getCachedComponentImage())
            cache->invalidateAll();
        for (auto* child : component.getChildren())
            throwAwayCachedImages (*child);
    }

    enum class View { band, output };

    /** A processor that has played a second of a tone mix with both analysers
        running, and its window showing both spectra. */
    struct WindowWithSpectra
    {
        explicit WindowWithSpectra (View view)
        {
            processor.setRateAndBufferSizeDetails (48000.0, 512);
            processor.prepareToPlay (48000.0, 512);
            editor.setVisible (true);
            setPlain (processor, ParameterIDs::numCrossovers, 3.0f);
            setPlain (processor, ParameterIDs::inputPlot, 1.0f);   // opening switched them off
            setPlain (processor, ParameterIDs::outputPlot, 1.0f);
            if (view == View::output)
                editor.outputButton.setToggleState (true, juce::sendNotification);
            deliverPendingMessages();

            juce::AudioBuffer<float> block (2, 512);
            juce::MidiBuffer midi;
            for (int n = 0, sample = 0; n < 94; ++n)
            {
                for (int i = 0; i < 512; ++i, ++sample)
                    for (int ch = 0; ch < 2; ++ch)
                        block.setSample (ch, i, 0.2f * std::sin (0.02f * (float) sample) + 0.1f * std::sin (0.6f * (float) sample));
                processor.processBlock (block, midi);
            }
            juce::Thread::sleep (300);   // the analysers publish
            deliverPendingMessages();
        }

        ~WindowWithSpectra()
        {
            processor.editorBeingDeleted (window.get());
            window.reset();
            processor.releaseResources();
        }

        void paint (juce::Rectangle<int> area)
        {
            juce::Graphics g (image);
            g.reduceClipRegion (area);
            editor.paintEntireComponent (g, true);
        }

        MultiAudioProcessor processor;
        std::unique_ptr<juce::AudioProcessorEditor> window { processor.createEditor() };
        MultiAudioEditor& editor = dynamic_cast<MultiAudioEditor&> (*window);
        juce::Image image { juce::Image::ARGB, 950, 525, true, juce::SoftwareImageType() };
    };

    void fullRepaint (benchmark::State& state, View view)
    {
        WindowWithSpectra window (view);
        for (auto _ : state)
        {
            throwAwayCachedImages (window.editor);
            window.paint (window.editor.getLocalBounds());
            benchmark::DoNotOptimize (window.image.getPixelAt (10, 100));
        }
        state.counters["ms_per_repaint"] = benchmark::Counter ((double) state.iterations() / 1000.0,
                                                               benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }

    void spectrumFrame (benchmark::State& state)
    {
        WindowWithSpectra window (View::band);
        window.paint (window.editor.getLocalBounds());   // every other cache filled once
        for (auto _ : state)
        {
            window.editor.responseDisplay->repaint();
            window.paint (window.editor.plotArea);
            benchmark::DoNotOptimize (window.image.getPixelAt (10, 100));
        }
        state.counters["core_percent_at_30fps"] = benchmark::Counter ((double) state.iterations() / 3000.0,
                                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    }
}

BENCHMARK_CAPTURE (fullRepaint, bandView, View::band)->Unit (benchmark::kMillisecond);
BENCHMARK_CAPTURE (fullRepaint, outputView, View::output)->Unit (benchmark::kMillisecond);
BENCHMARK (spectrumFrame)->Unit (benchmark::kMillisecond);
