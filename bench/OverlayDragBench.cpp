// One crossover handle dragged across the plot in 60 steps, through the real
// window: each step moves the handle as a mouse drag does (value set with a
// synchronous notification), lets the window's asynchronous neighbour pushes
// arrive, and repaints in the software renderer. "s_per_step" is the time of
// one step. The "_bufferedOverlays" runs are the reference: the same drag with
// every crossover and band overlay cached in a plot-sized image.

#include "editor/BandDisplay.h"
#include "editor/CrossoverEditor.h"
#include "editor/MultiAudioEditor.h"
#include "engine/MultiAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace juce
{
    // The message loop's single step, as JUCE's own plug-in message threads use it.
    bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
}

namespace
{
    constexpr int stepsPerDrag = 60;

    void deliverPendingMessages()
    {
        while (juce::dispatchNextMessageOnSystemQueue (true)) {}
    }

    void setPlain (MultiAudioProcessor& processor, const juce::String& id, float value)
    {
        auto* parameter = processor.apvts.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    enum class Repaint { plotArea, wholeWindow };
    enum class Overlays { drawn, buffered };

    void dragAcrossThePlot (benchmark::State& state, int crossovers, Repaint repaint, Overlays overlays)
    {
        MultiAudioProcessor processor;
        std::unique_ptr<juce::AudioProcessorEditor> window (processor.createEditor());
        auto& editor = dynamic_cast<MultiAudioEditor&> (*window);
        editor.setVisible (true);
        if (overlays == Overlays::buffered)
        {
            for (auto* e : editor.crossoverEditors)
                e->setBufferedToImage (true);
            for (auto* d : editor.bandDisplays)
                d->setBufferedToImage (true);
        }

        const float startFrequencies[] = { 250.0f, 1000.0f, 2500.0f, 5000.0f, 7500.0f };
        auto resetCrossovers = [&]
        {
            setPlain (processor, ParameterIDs::numCrossovers, (float) crossovers);
            for (size_t i = 0; i < (size_t) crossovers; ++i)
                setPlain (processor, ParameterIDs::frequencyCrossover (i), startFrequencies[i]);
            deliverPendingMessages();
        };

        auto& slider = editor.crossoverEditors[0]->crossoverSlider;
        juce::Image image (juce::Image::ARGB, editor.getWidth(), editor.getHeight(), true, juce::SoftwareImageType());
        const auto area = repaint == Repaint::plotArea ? editor.plotArea : editor.getLocalBounds();

        for (auto _ : state)
        {
            state.PauseTiming();
            resetCrossovers();
            state.ResumeTiming();

            for (int step = 0; step < stepsPerDrag; ++step)
            {
                slider.setValue (slider.proportionOfLengthToValue ((step + 0.5) / stepsPerDrag), juce::sendNotificationSync);
                deliverPendingMessages();

                juce::Graphics g (image);
                g.reduceClipRegion (area);
                editor.paintEntireComponent (g, true);
            }
            benchmark::DoNotOptimize (image.getPixelAt (10, 10));
        }

        state.counters["s_per_step"] = benchmark::Counter ((double) state.iterations() * stepsPerDrag,
                                                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
        processor.editorBeingDeleted (window.get());
    }
}

BENCHMARK_CAPTURE (dragAcrossThePlot, oneCrossover_plotArea, 1, Repaint::plotArea, Overlays::drawn)
    ->Unit (benchmark::kMillisecond);
BENCHMARK_CAPTURE (dragAcrossThePlot, fiveCrossoversPushed_plotArea, 5, Repaint::plotArea, Overlays::drawn)
    ->Unit (benchmark::kMillisecond);
BENCHMARK_CAPTURE (dragAcrossThePlot, fiveCrossoversPushed_wholeWindow, 5, Repaint::wholeWindow, Overlays::drawn)
    ->Unit (benchmark::kMillisecond);
BENCHMARK_CAPTURE (dragAcrossThePlot, fiveCrossoversPushed_plotArea_bufferedOverlays, 5, Repaint::plotArea, Overlays::buffered)
    ->Unit (benchmark::kMillisecond);
