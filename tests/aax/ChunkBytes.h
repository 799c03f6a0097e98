// Building the data bytes of a chunk by hand, and the host's chunk record
// that carries them to the library.
#pragma once

#include "ChunkRecord.h"

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace chunkbytes
{
    using Bytes = std::vector<uint8_t>;
    using zelkhost::ChunkRecord;

    inline void Append (Bytes& bytes, const char* text, size_t count)
    {
        bytes.insert (bytes.end(), text, text + count);
    }

    inline void Append (Bytes& bytes, std::initializer_list<uint8_t> values)
    {
        bytes.insert (bytes.end(), values);
    }
}
