#include "ChunkRecord.h"

#include <algorithm>

namespace zelkhost
{
    ChunkRecord::ChunkRecord (uint32_t dataCapacity)
        : mBlock (new unsigned char[kAAX_SPlugInChunkHeaderSize + std::size_t { dataCapacity }]()),
          mCapacity (dataCapacity)
    {
        get()->fSize = static_cast<int32_t> (dataCapacity);
    }

    ChunkRecord::ChunkRecord (const StoredChunk& stored)
        : ChunkRecord (stored.id, stored.data)
    {
        get()->fVersion = stored.version;
        std::memcpy (get()->fName, stored.name.data(), std::min (stored.name.size(), sizeof (get()->fName) - 1));
    }

    StoredChunk ChunkRecord::stored() const
    {
        StoredChunk chunk;
        chunk.id = get()->fChunkID;
        chunk.version = get()->fVersion;
        chunk.name.assign (get()->fName, ::strnlen (get()->fName, sizeof (get()->fName)));
        chunk.data = data();
        return chunk;
    }
}
