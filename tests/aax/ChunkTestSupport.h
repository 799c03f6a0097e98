// A chunk record in a heap block of exactly the header plus its data bytes,
// so that any read or write outside the data is caught by the address
// sanitizer.
#pragma once

#include "AAX_IACFEffectParameters.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace chunk_support
{
    class ChunkBuffer
    {
    public:
        /** A chunk with room for dataCapacity bytes, fSize set to it. */
        explicit ChunkBuffer (int32_t dataCapacity)
            : mBlock (new uint8_t[kAAX_SPlugInChunkHeaderSize + static_cast<size_t> (dataCapacity > 0 ? dataCapacity : 0)]),
              mCapacity (dataCapacity > 0 ? dataCapacity : 0)
        {
            std::memset (mBlock.get(), 0, kAAX_SPlugInChunkHeaderSize + static_cast<size_t> (mCapacity));
            Get()->fSize = mCapacity;
        }

        /** A chunk holding exactly these data bytes. */
        explicit ChunkBuffer (const std::vector<uint8_t>& data)
            : ChunkBuffer (static_cast<int32_t> (data.size()))
        {
            if (! data.empty())
                std::memcpy (Get()->fData, data.data(), data.size());
        }

        AAX_SPlugInChunk* Get() { return reinterpret_cast<AAX_SPlugInChunk*> (mBlock.get()); }
        int32_t Capacity() const { return mCapacity; }

        std::vector<uint8_t> Data()
        {
            const int32_t size = Get()->fSize < mCapacity ? Get()->fSize : mCapacity;
            const auto* bytes = reinterpret_cast<const uint8_t*> (Get()->fData);
            return std::vector<uint8_t> (bytes, bytes + (size > 0 ? size : 0));
        }

    private:
        std::unique_ptr<uint8_t[]> mBlock;
        int32_t mCapacity;
    };

    inline void Append (std::vector<uint8_t>& bytes, const char* text, size_t count)
    {
        bytes.insert (bytes.end(), text, text + count);
    }

    inline void Append (std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> values)
    {
        bytes.insert (bytes.end(), values);
    }
}
