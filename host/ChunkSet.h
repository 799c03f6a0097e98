// The chunks of one instance's settings as the host stores them, and the
// host's state file that holds them: a small tagged, little-endian layout
//   "ZLKS", format version 1, chunk count, then per chunk its ID, version,
//   name (32 bytes) and size followed by the data.
#pragma once

#include "AAX.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zelkhost
{
    struct StoredChunk
    {
        AAX_CTypeID id = 0;
        int32_t version = 0;
        std::string name;
        std::vector<char> data;

        bool operator== (const StoredChunk& other) const
        {
            return id == other.id && version == other.version && name == other.name && data == other.data;
        }
    };

    struct ChunkSet
    {
        static constexpr uint32_t largestChunk = 64u * 1024u * 1024u;    ///< the most data bytes one chunk may hold
        static constexpr uint32_t mostChunks = 1024;
        static constexpr std::size_t fileHeaderBytes = 12, chunkHeaderBytes = 44;

        /** The most bytes a state file is read from: a chunk of the largest
            size and the headers of the most chunks. A real state is a few
            kilobytes; this keeps a wrong file from filling the memory. */
        static constexpr std::size_t largestFile = fileHeaderBytes + mostChunks * chunkHeaderBytes + largestChunk;

        std::vector<StoredChunk> chunks;

        const StoredChunk* find (AAX_CTypeID id) const
        {
            for (const auto& chunk : chunks)
                if (chunk.id == id)
                    return &chunk;
            return nullptr;
        }

        std::vector<char> serialise() const;

        /** Reads what serialise() wrote. Anything malformed (wrong tag, unknown
            version, sizes beyond the data) gives false and leaves result empty. */
        static bool deserialise (const std::vector<char>& bytes, ChunkSet& result, std::string& error);
        static bool deserialise (const char* bytes, std::size_t size, ChunkSet& result, std::string& error);
    };

    /** "elck" from 0x656C636B; non-printable bytes as '?'. */
    std::string fourCharText (AAX_CTypeID id);
}
