// Shared by the window tests: a processor with its window on the (virtual)
// display, user input through the window's peer, and the message loop.
#pragma once

#include "editor/MultiAudioEditor.h"
#include "support/ProcessorHarness.h"
#include "XErrorHandler.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace windowtest
{
    /** Runs the message loop so that asynchronous notifications arrive. */
    inline void pumpMessages (int milliseconds = 30)
    {
        juce::MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    inline void setPlain (MultiAudioProcessor& processor, const juce::String& id, float plainValue)
    {
        testsupport::setPlain (processor.apvts, id, plainValue);
    }

    inline float getPlain (MultiAudioProcessor& processor, const juce::String& id)
    {
        return testsupport::getPlain (processor.apvts, id);
    }

    /** A left click at `target`'s centre as X events (X11Clicks.cpp), held `heldMilliseconds` (0: as xdotool clicks);
        `focusElsewhereFirst` gives the root window the focus first, as a window manager takes it at a click. */
    void clickThroughX11 (juce::Component& target, int heldMilliseconds = 20, bool focusElsewhereFirst = false);

    /** A processor and its window, put on the desktop as a host would. */
    struct OpenWindow
    {
        explicit OpenWindow (std::function<void (MultiAudioProcessor&)> beforeOpening = {})
        {
            if (beforeOpening)
                beforeOpening (processor);
            editor.reset (dynamic_cast<MultiAudioEditor*> (processor.createEditor()));
            editor->setVisible (true);
            if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
                throw std::runtime_error ("the window tests need a display (run them under xvfb-run -a)");
            zelkhost::installHostXErrorHandler();
            editor->addToDesktop (0);
            // Keyboard focus, for typing into text boxes: the window is mapped,
            // has the X server's input focus and the focus event has arrived
            // (JUCE then focuses a component of the window).
            auto* peer = editor->getPeer();
            const auto focused = [&]
            {
                auto* focus = juce::Component::getCurrentlyFocusedComponent();
                return peer->isFocused() && focus != nullptr && editor->isParentOf (focus);
            };
            for (int attempt = 0; attempt < 200 && ! focused(); ++attempt)
            {
                if (! peer->isFocused())
                    peer->grabFocus();
                pumpMessages (10);
            }
            pumpMessages (50);
        }

        ~OpenWindow()
        {
            if (editor != nullptr)
                processor.editorBeingDeleted (editor.get());
            editor.reset();
        }

        /** A mouse click at `position` in `component`'s coordinates, through the peer. */
        void click (juce::Component& component, juce::Point<int> position)
        {
            auto* peer = editor->getPeer();
            ASSERT_NE (peer, nullptr);
            const auto where = editor->getLocalPoint (&component, position).toFloat();
            // Event times a second apart from one click to the next (no double
            // clicks), the button held for 20 ms (no long press).
            static juce::int64 clock = 0;
            clock = std::max (clock + 1000, juce::Time::currentTimeMillis());
            const auto send = [&] (juce::ModifierKeys modifiers, juce::int64 time)
            {
                peer->handleMouseEvent (juce::MouseInputSource::InputSourceType::mouse, where, modifiers,
                                        juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation, time);
            };
            send ({}, clock);
            send (juce::ModifierKeys::leftButtonModifier, clock + 10);
            send ({}, clock + 30);
            pumpMessages();
        }

        void clickCentre (juce::Component& component)
        {
            click (component, component.getLocalBounds().getCentre());
        }

        /** Types `text` and the return key into whatever has the keyboard focus. */
        /** Types `text` and return into `target` through its key entry point.
            The keys go to the component itself, not through the peer, so that
            another window on the shared display cannot take them away. */
        void type (juce::Component& target, const juce::String& text)
        {
            for (auto character : text)
                target.keyPressed (juce::KeyPress (static_cast<int> (character), {}, character));
            target.keyPressed (juce::KeyPress (juce::KeyPress::returnKey));
            pumpMessages();
        }

        MultiAudioProcessor processor;
        std::unique_ptr<MultiAudioEditor> editor;
    };
}
