// Keeps JUCE initialised inside the plug-in while anything of the plug-in
// lives: the effect description, each effect instance and each GUI object
// holds one scope. The first scope initialises JUCE's GUI side (message
// manager, desktop), the last one shuts it down again, so a bundle that the
// host unloads leaves no JUCE singletons behind.
#pragma once

namespace aaxclient
{
    class JuceLibraryScope
    {
    public:
        JuceLibraryScope();
        ~JuceLibraryScope();

        JuceLibraryScope (const JuceLibraryScope&) = delete;
        JuceLibraryScope& operator= (const JuceLibraryScope&) = delete;

        /** Scopes alive right now in this module. */
        static int liveScopes();

        /** Delivers the messages, timer callbacks and async updates waiting in
            this module's JUCE queue. Nothing happens unless it is called on
            JUCE's message thread. The host's own run loop does not know this
            queue, so the GUI and effect objects call it from the host's timer
            callbacks. */
        static void dispatchPendingMessages();
    };
}
