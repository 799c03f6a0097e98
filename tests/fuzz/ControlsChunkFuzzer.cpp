// The controls chunk 'elck' read by the library's chunk parser.
//
// The input is the chunk's data; the chunk record is a heap block of exactly
// the header plus those bytes, so the address sanitizer catches any read
// outside fSize. Whatever loads must write back to data that loads to the
// same entries and writes back to identical bytes, and a write into too
// small a record must be refused without touching bytes beyond it.
#include "AAX_CChunkDataParser.h"
#include "AAX_Errors.h"
#include "FuzzCheck.h"

#include <cstring>
#include <memory>

namespace
{
    using fuzzsupport::require;

    /** A chunk record with room for exactly capacity data bytes. */
    class ChunkRecord
    {
    public:
        explicit ChunkRecord (size_t capacity)
            : block (new uint8_t[kAAX_SPlugInChunkHeaderSize + capacity]()),
              size (capacity)
        {
            get()->fSize = static_cast<int32_t> (capacity);
            get()->fVersion = 1;
        }

        ChunkRecord (const uint8_t* data, size_t count) : ChunkRecord (count)
        {
            if (count > 0)
                std::memcpy (get()->fData, data, count);
        }

        AAX_SPlugInChunk* get() { return reinterpret_cast<AAX_SPlugInChunk*> (block.get()); }
        const uint8_t* data() { return reinterpret_cast<const uint8_t*> (get()->fData); }
        size_t capacity() const { return size; }

    private:
        std::unique_ptr<uint8_t[]> block;
        size_t size;
    };

    /** Writes the parser's data into a record of exactly its size. */
    std::unique_ptr<ChunkRecord> writeBack (const AAX_CChunkDataParser& parser)
    {
        const int32_t size = parser.GetChunkDataSize();
        require (size >= 4, "a loaded parser reports no room for its own marker");

        auto record = std::make_unique<ChunkRecord> (static_cast<size_t> (size));
        require (parser.GetChunkData (record->get()) == AAX_SUCCESS, "writing back what was loaded failed");
        require (record->get()->fSize == size, "the written size differs from GetChunkDataSize()");
        return record;
    }
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;

    ChunkRecord input (data, size);
    AAX_CChunkDataParser loaded;
    loaded.LoadChunk (input.get());

    auto written = writeBack (loaded);

    // The data written back loads to the same entries ...
    AAX_CChunkDataParser reloaded;
    reloaded.LoadChunk (written->get());
    require (reloaded.GetChunkDataSize() == loaded.GetChunkDataSize(), "reloading changed the data size");

    // ... and writes back to identical bytes.
    auto rewritten = writeBack (reloaded);
    require (std::memcmp (rewritten->data(), written->data(), written->capacity()) == 0,
             "load + write back + reload + write back changed the bytes");

    if (reloaded.NumEntries() > loaded.NumEntries())
        fuzzsupport::fail ("reloading produced more entries than were loaded");

    // A record one byte too small is refused; the exact-size block makes
    // any write past its end an address-sanitizer report.
    if (written->capacity() > 4)
    {
        ChunkRecord tooSmall (written->capacity() - 1);
        require (reloaded.GetChunkData (tooSmall.get(), static_cast<int32_t> (tooSmall.capacity()))
                     == AAX_CChunkDataParser::kChunkOverflowError,
                 "data larger than the record was not refused");
    }

    return 0;
}
