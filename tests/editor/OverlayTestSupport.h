// Shared by the overlay tests: the overlays over a plot without the window,
// and the mouse played into a component on the desktop.
#pragma once

#include "WindowTestSupport.h"
#include "editor/BandDisplay.h"
#include "editor/CrossoverEditor.h"

namespace overlay_test
{
    using windowtest::getPlain;
    using windowtest::setPlain;
    inline void deliverMessages (int milliseconds = 30) { windowtest::pumpMessages (milliseconds); }

    /** Puts a component on the desktop unless it is there already and plays the
        mouse into it through its peer, as the windowing system does. Positions
        are in `target`'s pixels. */
    class DesktopMouse
    {
    public:
        explicit DesktopMouse (juce::Component& topLevel) : top (topLevel), owned (! topLevel.isOnDesktop())
        {
            if (owned)
            {
                juce::Desktop::getInstance().getDisplays();   // the X connection, before its error handler
                zelkhost::installHostXErrorHandler();
                top.setVisible (true);
                top.addToDesktop (0);
            }
        }
        ~DesktopMouse() { if (owned) top.removeFromDesktop(); }

        void move (juce::Component& target, juce::Point<int> p) { send (target, p, {}); }

        void click (juce::Component& target, juce::Point<int> p) { drag (target, p, p, 0); }

        /** Presses at `from`, moves in `steps` steps to `to` and releases there. */
        void drag (juce::Component& target, juce::Point<int> from, juce::Point<int> to, int steps)
        {
            send (target, from, {});
            send (target, from, juce::ModifierKeys::leftButtonModifier);
            for (int i = 1; i <= steps; ++i)
                send (target, from + (to - from) * i / steps, juce::ModifierKeys::leftButtonModifier);
            send (target, to, {});
            time += 1000; // never a double click
        }

    private:
        void send (juce::Component& target, juce::Point<int> p, juce::ModifierKeys mods)
        {
            top.getPeer()->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse,
                                             top.getLocalPoint (&target, p).toFloat(), mods,
                                             juce::MouseInputSource::defaultPressure, 0.0f, time += 10);
        }

        juce::Component& top;
        const bool owned;
        juce::int64 time = juce::Time::currentTimeMillis();
    };

    struct ChangeCounter : juce::ChangeListener
    {
        explicit ChangeCounter (juce::ChangeBroadcaster& b) : broadcaster (b) { broadcaster.addChangeListener (this); }
        ~ChangeCounter() override { broadcaster.removeChangeListener (this); }
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }

        juce::ChangeBroadcaster& broadcaster;
        int count = 0;
    };

    /** The five crossover and six band overlays over a 950 x 278 plot, laid out
        as the window lays them out, without the window. */
    struct PlotOverlays
    {
        PlotOverlays()
        {
            for (size_t i = 0; i < 5; ++i)
                plot.addChildComponent (crossoverEditors.add (new MultiAudioEditor::CrossoverEditor (i, processor)));
            for (size_t b = 0; b < 6; ++b)
                plot.addChildComponent (bandDisplays.add (new MultiAudioEditor::BandDisplay (b, processor, crossoverEditors)));
            plot.setBounds (0, 0, 950, 278);
            plot.setVisible (true);
            layOut();
        }

        ~PlotOverlays() { plot.removeAllChildren(); }

        void setCrossovers (int count)                { setPlain (processor, ParameterIDs::numCrossovers, (float) count); layOut(); }
        void setFrequency (size_t crossover, float hz) { setPlain (processor, ParameterIDs::frequencyCrossover (crossover), hz); layOut(); }

        void layOut()
        {
            const auto records = processor.readRecords();
            for (auto* e : crossoverEditors)
            {
                e->setBounds (plot.getLocalBounds());
                e->setVisible (records.crossovers[e->crossoverIndex].active);
                e->toBack();
            }
            for (auto* d : bandDisplays)
            {
                d->setBounds (plot.getLocalBounds());
                d->resized();
                d->toBack();
            }
        }

        MultiAudioProcessor processor;
        juce::Component plot;
        juce::OwnedArray<MultiAudioEditor::CrossoverEditor> crossoverEditors;
        juce::OwnedArray<MultiAudioEditor::BandDisplay> bandDisplays;
    };
}
