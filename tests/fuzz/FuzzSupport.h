// Helpers for the fuzz programs that run the plug-in's JUCE side: keeping
// them away from the user's own files, and JUCE's message manager.
#pragma once

#include "FuzzCheck.h"

#include <juce_events/juce_events.h>

namespace fuzzsupport
{
    /** Points HOME, XDG_CONFIG_HOME and the temporary folder at a fresh
        folder of this process (made inside $TMPDIR or /tmp and removed at
        exit), so that nothing a fuzz program writes lands in the user's
        own settings and parallel runs never share a presets file. Returns
        the folder; later calls return the same one. */
    juce::File isolateUserFolders();

    /** Starts JUCE's GUI side (message manager) once for the whole run. */
    void initialiseJuce();

    /** Delivers the messages, timer callbacks and async updates waiting in
        the message queue, as a host's run loop would between calls. */
    void dispatchPendingMessages();
}
