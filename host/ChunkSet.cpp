#include "ChunkSet.h"

#include <algorithm>
#include <cstring>

namespace zelkhost
{
    namespace
    {
        constexpr char fileTag[4] = { 'Z', 'L', 'K', 'S' };
        constexpr uint32_t formatVersion = 1;
        constexpr std::size_t nameBytes = 32;
        constexpr uint32_t largestChunk = ChunkSet::largestChunk;
        constexpr uint32_t mostChunks = ChunkSet::mostChunks;

        void putWord (std::vector<char>& out, uint32_t value)
        {
            for (int shift = 0; shift < 32; shift += 8)
                out.push_back (static_cast<char> ((value >> shift) & 0xFFu));
        }

        struct Reader
        {
            const char* bytes;
            std::size_t size;
            std::size_t position = 0;

            bool has (std::size_t count) const { return count <= size - position; }

            bool word (uint32_t& value)
            {
                if (! has (4))
                    return false;
                value = 0;
                for (int i = 0; i < 4; ++i)
                    value |= static_cast<uint32_t> (static_cast<unsigned char> (bytes[position + static_cast<std::size_t> (i)])) << (8 * i);
                position += 4;
                return true;
            }

            bool block (std::size_t count, const char*& start)
            {
                if (! has (count))
                    return false;
                start = bytes + position;
                position += count;
                return true;
            }
        };
    }

    std::string fourCharText (AAX_CTypeID id)
    {
        std::string text;
        for (int shift = 24; shift >= 0; shift -= 8)
        {
            const auto c = static_cast<char> ((id >> shift) & 0xFFu);
            text += (c >= 0x20 && c < 0x7F) ? c : '?';
        }
        return text;
    }

    std::vector<char> ChunkSet::serialise() const
    {
        std::vector<char> out (fileTag, fileTag + 4);
        putWord (out, formatVersion);
        putWord (out, static_cast<uint32_t> (chunks.size()));

        for (const auto& chunk : chunks)
        {
            putWord (out, chunk.id);
            putWord (out, static_cast<uint32_t> (chunk.version));
            char name[nameBytes] = {};
            std::memcpy (name, chunk.name.data(), std::min (chunk.name.size(), nameBytes - 1));
            out.insert (out.end(), name, name + nameBytes);
            putWord (out, static_cast<uint32_t> (chunk.data.size()));
            out.insert (out.end(), chunk.data.begin(), chunk.data.end());
        }
        return out;
    }

    bool ChunkSet::deserialise (const std::vector<char>& bytes, ChunkSet& result, std::string& error)
    {
        return deserialise (bytes.data(), bytes.size(), result, error);
    }

    bool ChunkSet::deserialise (const char* bytes, std::size_t size, ChunkSet& result, std::string& error)
    {
        result = {};
        Reader reader { bytes, size };
        const char* tag = nullptr;
        uint32_t version = 0, count = 0;

        if (! reader.block (4, tag) || std::memcmp (tag, fileTag, 4) != 0)
        {
            error = "not a ZELK-MULTI host state file";
            return false;
        }
        if (! reader.word (version) || version != formatVersion)
        {
            error = "unsupported host state version";
            return false;
        }
        if (! reader.word (count) || count > mostChunks)
        {
            error = "the host state is damaged (chunk count)";
            return false;
        }

        ChunkSet parsed;
        for (uint32_t i = 0; i < count; ++i)
        {
            StoredChunk chunk;
            uint32_t chunkVersion = 0, size = 0;
            const char* name = nullptr;
            const char* data = nullptr;

            if (! reader.word (chunk.id) || ! reader.word (chunkVersion) || ! reader.block (nameBytes, name)
                || ! reader.word (size) || size > largestChunk || ! reader.block (size, data))
            {
                error = "the host state is damaged (chunk " + std::to_string (i + 1) + " of " + std::to_string (count) + ")";
                return false;
            }

            chunk.version = static_cast<int32_t> (chunkVersion);
            chunk.name.assign (name, ::strnlen (name, nameBytes));
            chunk.data.assign (data, data + size);
            parsed.chunks.push_back (std::move (chunk));
        }

        if (reader.position != size)
        {
            error = "the host state is damaged (trailing bytes)";
            return false;
        }

        result = std::move (parsed);
        return true;
    }
}
