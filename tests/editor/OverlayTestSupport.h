#pragma once

#include "editor/BandDisplay.h"
#include "editor/CrossoverEditor.h"
#include "engine/MultiAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <dlfcn.h>
#include <memory>

namespace overlay_test
{
    /** Runs the message loop long enough for posted change messages and
        asynchronous slider notifications to arrive. */
    inline void deliverMessages (int milliseconds = 30)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    inline void setPlain (MultiAudioProcessor& processor, const juce::String& id, float value)
    {
        auto* parameter = processor.apvts.getParameter (id);
        parameter->setValueNotifyingHost (parameter->convertTo0to1 (value));
    }

    inline float getPlain (MultiAudioProcessor& processor, const juce::String& id)
    {
        auto* parameter = processor.apvts.getParameter (id);
        return parameter->convertFrom0to1 (parameter->getValue());
    }

    /** Outside a standalone application JUCE leaves Xlib's default error
        handler in place, which ends the process on the first error. A bare
        virtual display (no window manager) lacks atoms JUCE sets on its
        windows; ignore those errors as a host would. */
    inline void ignoreXErrors()
    {
        using ErrorHandler = int (*) (void*, void*);
        using SetErrorHandler = ErrorHandler (*) (ErrorHandler);

        if (void* xlib = dlopen ("libX11.so.6", RTLD_LAZY))
            if (auto setHandler = reinterpret_cast<SetErrorHandler> (dlsym (xlib, "XSetErrorHandler")))
                setHandler ([] (void*, void*) { return 0; });
    }

    /** Plays the mouse into a component that sits on the desktop, through its
        peer, as the windowing system would. Positions are in `target`'s pixels. */
    class DesktopMouse
    {
    public:
        explicit DesktopMouse (juce::Component& topLevel) : top (topLevel)
        {
            ignoreXErrors();
            top.addToDesktop (0);
            top.setVisible (true);
        }

        ~DesktopMouse()
        {
            top.removeFromDesktop();
        }

        void move (juce::Component& target, juce::Point<int> p)    { send (target, p, {}); }
        void press (juce::Component& target, juce::Point<int> p)   { send (target, p, juce::ModifierKeys::leftButtonModifier); }
        void release (juce::Component& target, juce::Point<int> p) { send (target, p, {}); }

        void click (juce::Component& target, juce::Point<int> p)
        {
            move (target, p);
            press (target, p);
            release (target, p);
            time += 1000; // no double clicks between separate clicks
        }

        /** Presses at `from`, moves in `steps` equal steps to `to` and releases. */
        void drag (juce::Component& target, juce::Point<int> from, juce::Point<int> to, int steps)
        {
            move (target, from);
            press (target, from);
            for (int i = 1; i <= steps; ++i)
                press (target, from + (to - from) * i / steps);
            release (target, to);
            time += 1000;
        }

    private:
        void send (juce::Component& target, juce::Point<int> p, juce::ModifierKeys mods)
        {
            auto* peer = top.getPeer();
            jassert (peer != nullptr);
            const auto inPeer = top.getLocalPoint (&target, p).toFloat();
            peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, inPeer, mods,
                                    juce::MouseInputSource::defaultPressure, 0.0f, time += 10);
        }

        juce::Component& top;
        juce::int64 time = juce::Time::currentTimeMillis();
    };

    /** Counts the change messages a broadcaster delivers. */
    struct ChangeCounter : juce::ChangeListener
    {
        explicit ChangeCounter (juce::ChangeBroadcaster& b) : broadcaster (b) { broadcaster.addChangeListener (this); }
        ~ChangeCounter() override { broadcaster.removeChangeListener (this); }
        void changeListenerCallback (juce::ChangeBroadcaster*) override { ++count; }

        juce::ChangeBroadcaster& broadcaster;
        int count = 0;
    };

    /** The five crossover overlays and six band overlays over one plot, laid
        out the way the window lays them out, without the window. */
    struct PlotOverlays
    {
        PlotOverlays()
        {
            for (size_t i = 0; i < 5; ++i)
                plot.addAndMakeVisible (crossoverEditors.add (new MultiAudioEditor::CrossoverEditor (i, processor)));
            for (size_t b = 0; b < 6; ++b)
                plot.addChildComponent (bandDisplays.add (new MultiAudioEditor::BandDisplay (b, processor, crossoverEditors)));
            plot.setSize (950, 278);
            plot.setVisible (true);
            layOut();
        }

        ~PlotOverlays()
        {
            plot.removeAllChildren();
        }

        void setCrossoverCount (int count)
        {
            setPlain (processor, ParameterIDs::numCrossovers, (float) count);
            layOut();
        }

        void setCrossoverFrequency (size_t index, float hz)
        {
            setPlain (processor, ParameterIDs::frequencyCrossover (index), hz);
            layOut();
        }

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
