// The chunks of one instance's settings as the host stores them, and the
// host's state file that holds them: a small tagged, little-endian layout
//   "ZLKS", format version 1, chunk count, then per chunk its ID, version,
//   name (32 bytes) and size followed by the data.
#pragma once

#include "AAX.h"

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
    };

    /** "elck" from 0x656C636B; non-printable bytes as '?'. */
    std::string fourCharText (AAX_CTypeID id);
}
