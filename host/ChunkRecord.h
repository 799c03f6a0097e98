// A chunk record as the host hands it to the plug-in: the record's header
// followed by exactly its data bytes, in one block of that size, so that any
// read or write past the data is outside the block (the sanitizers see it).
#pragma once

#include "AAX_IACFEffectParameters.h"
#include "ChunkSet.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace zelkhost
{
    class ChunkRecord
    {
    public:
        /** A record with room for dataCapacity bytes, its size field set to it. */
        explicit ChunkRecord (uint32_t dataCapacity);

        /** A record of a stored chunk: its ID, version, name and data. */
        explicit ChunkRecord (const StoredChunk& stored);

        /** A record holding exactly these data bytes under a chunk ID. */
        template <typename Byte>
        ChunkRecord (AAX_CTypeID id, const std::vector<Byte>& data)
            : ChunkRecord (static_cast<uint32_t> (data.size()))
        {
            get()->fChunkID = id;
            if (! data.empty())
                std::memcpy (get()->fData, data.data(), data.size());
        }

        AAX_SPlugInChunk* get() noexcept { return reinterpret_cast<AAX_SPlugInChunk*> (mBlock.get()); }
        const AAX_SPlugInChunk* get() const noexcept { return reinterpret_cast<const AAX_SPlugInChunk*> (mBlock.get()); }
        uint32_t capacity() const noexcept { return mCapacity; }

        /** The data bytes the size field names, never more than the capacity. */
        template <typename Byte = char>
        std::vector<Byte> data() const
        {
            const auto size = get()->fSize < 0 ? 0u : std::min (static_cast<uint32_t> (get()->fSize), mCapacity);
            const auto* bytes = reinterpret_cast<const Byte*> (get()->fData);
            return std::vector<Byte> (bytes, bytes + size);
        }

        /** The record as the host stores it; the name ends at its first NUL. */
        StoredChunk stored() const;

    private:
        std::unique_ptr<unsigned char[]> mBlock;
        uint32_t mCapacity;
    };
}
