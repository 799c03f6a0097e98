// The host state file on the command line: reading and writing it, and
// restoring it into an instance with a message that names the chunk the
// plug-in refused and why.
#pragma once

#include "AAX.h"
#include "ChunkSet.h"

#include <juce_core/juce_core.h>

namespace zelkhost
{
    class EffectInstance;
    class HostServices;
    class OutputTarget;

    /** Reads a state file: only a regular file (or a link to one) of at
        most ChunkSet::largestFile bytes. False with a message naming the
        file and the reason. */
    bool readStateFile (const juce::File& file, ChunkSet& state, juce::String& error);

    bool writeStateFile (const OutputTarget& file, const ChunkSet& state, juce::String& error);

    /** Writes the state to `file`, and when that fails keeps it in a new
        file "zelk-state-recovered.zlks" (numbered when taken) in the first of
        `spareFolders` that takes it, named in `error`. False whenever `file`
        was not written. */
    bool writeStateFileOrKeepIt (const OutputTarget& file, const juce::Array<juce::File>& spareFolders,
                                 const ChunkSet& state, juce::String& error);

    /** Gives the instance the stored chunks one by one; on the first one
        refused, false with a message naming that chunk, the reason in words
        and what the plug-in traced meanwhile. The state is used up: each
        chunk's data is let go once handed over, so that a large chunk is
        held once at a time rather than in several copies. */
    bool restoreState (EffectInstance& instance, HostServices& services, ChunkSet&& state, juce::String& error);

    /** What a chunk result means for the user, e.g. "damaged" for
        AAX_ERROR_MALFORMED_CHUNK. */
    juce::String chunkResultInWords (AAX_Result result);
}
