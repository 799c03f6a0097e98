#include "StoredState.h"

#include "AAX_Errors.h"
#include "EffectInstance.h"
#include "HostServices.h"
#include "InputFiles.h"
#include "OutputFiles.h"

namespace zelkhost
{
    bool readStateFile (const juce::File& file, ChunkSet& state, juce::String& error)
    {
        juce::MemoryBlock bytes;
        juce::String problem;
        if (! readInputFile (file, (juce::int64) ChunkSet::largestFile, bytes, problem))
        {
            error = "cannot read the state file " + file.getFullPathName() + ": " + problem;
            return false;
        }

        const auto* data = static_cast<const char*> (bytes.getData());
        std::string reason;
        if (! ChunkSet::deserialise (data, bytes.getSize(), state, reason))
        {
            error = "cannot use " + file.getFullPathName() + ": " + juce::String (reason);
            return false;
        }
        return true;
    }

    bool writeStateFile (const OutputTarget& file, const ChunkSet& state, juce::String& error)
    {
        const auto bytes = state.serialise();
        return writeDataFile (file, bytes.data(), bytes.size(), error);
    }

    bool writeStateFileOrKeepIt (const OutputTarget& file, const juce::Array<juce::File>& spareFolders,
                                 const ChunkSet& state, juce::String& error)
    {
        if (writeStateFile (file, state, error))
            return true;

        const auto bytes = state.serialise();
        juce::String spareError;
        for (const auto& folder : spareFolders)
        {
            juce::File kept;
            if (writeNewDataFile (folder, "zelk-state-recovered", ".zlks", bytes.data(), bytes.size(), kept, spareError))
            {
                error << "\nthe state is kept in " << kept.getFullPathName() << " instead";
                return false;
            }
        }
        error << "\nthe state is lost: " << (spareError.isNotEmpty() ? spareError : juce::String ("no folder to keep it in"));
        return false;
    }

    juce::String chunkResultInWords (AAX_Result result)
    {
        switch (result)
        {
            case AAX_ERROR_MALFORMED_CHUNK:         return "its data is damaged";
            case AAX_ERROR_INCORRECT_CHUNK_SIZE:    return "its size is not what the plug-in expects";
            case AAX_ERROR_INVALID_CHUNK_ID:        return "the plug-in has no chunk of that kind";
            case AAX_ERROR_INVALID_CHUNK_INDEX:     return "the plug-in has no such chunk";
            case AAX_ERROR_NULL_ARGUMENT:
            case AAX_ERROR_NULL_OBJECT:             return "the chunk record is missing";
            case AAX_ERROR_UNKNOWN_EXCEPTION:       return "the plug-in failed while reading it";
            default:                                return "the plug-in refused it";
        }
    }

    bool restoreState (EffectInstance& instance, HostServices& services, ChunkSet&& state, juce::String& error)
    {
        for (auto& chunk : state.chunks)
        {
            const auto tracesBefore = services.traces().size();
            const auto size = chunk.data.size();
            ChunkSet single;
            single.chunks.push_back ({ chunk.id, chunk.version, chunk.name, std::move (chunk.data) });

            const auto result = instance.restoreChunks (std::move (single));
            if (result == AAX_SUCCESS)
                continue;

            error = "restoring the state failed: chunk '" + juce::String (fourCharText (chunk.id)) + "'";
            if (! chunk.name.empty())
                error << " (\"" << juce::String (chunk.name) << "\")";
            error << " of " << (int) size << " bytes was not accepted: " << chunkResultInWords (result)
                  << " (result " << result << ")";

            const auto traces = services.traces();
            for (auto i = tracesBefore; i < traces.size(); ++i)
                if (traces[i].priority == AAX_eTracePriority_Critical)
                    error << "\n  the plug-in reported: " << juce::String (traces[i].message);
            return false;
        }
        return true;
    }
}
