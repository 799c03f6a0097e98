#include "AAX_CChunkDataParser.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"

#include <cstring>
#include <limits>

namespace
{
    const uint8_t kMarker[4] = { 0x01, 0x01, 0x01, 0x01 };
    const char kTypeTags[] = "f_l_d_s_r_";
    constexpr int64_t kTagLength = 2;
    constexpr int64_t kMaxNameLength = 255;

    int64_t RoundUpTo4 (int64_t value)
    {
        return (value + 3) & ~int64_t (3);
    }

    int64_t ValueSlotSize (int32_t type, uint32_t stringLength)
    {
        switch (type)
        {
            case AAX_CChunkDataParser::kFloatType:
            case AAX_CChunkDataParser::kInt32Type:
            case AAX_CChunkDataParser::kInt16Type:  return 4;
            case AAX_CChunkDataParser::kDoubleType: return 8;
            case AAX_CChunkDataParser::kStringType: return RoundUpTo4 (int64_t (stringLength) + 1);
            default:                                return 0;
        }
    }

    void WriteBigEndian (uint8_t* destination, uint64_t bits, int byteCount)
    {
        for (int i = 0; i < byteCount; ++i)
            destination[i] = static_cast<uint8_t> (bits >> (8 * (byteCount - 1 - i)));
    }

    uint64_t ReadBigEndian (const uint8_t* source, int byteCount)
    {
        uint64_t bits = 0;

        for (int i = 0; i < byteCount; ++i)
            bits = (bits << 8) | source[i];

        return bits;
    }

    template <typename Target, typename Source>
    Target BitCast (Source source)
    {
        static_assert (sizeof (Target) == sizeof (Source), "sizes must match");
        Target target;
        std::memcpy (&target, &source, sizeof (target));
        return target;
    }

    /** Length of the NUL-terminated text at data, looking at no more than
        limit bytes; found tells whether a NUL was seen. */
    int64_t BoundedLength (const uint8_t* data, int64_t limit, bool& found)
    {
        const void* nul = std::memchr (data, 0, static_cast<size_t> (limit));
        found = (nul != nullptr);
        return found ? static_cast<const uint8_t*> (nul) - data : limit;
    }
}

//==============================================================================
AAX_CChunkDataParser::Entry& AAX_CChunkDataParser::NewEntry (int32_t type, const char* name)
{
    Entry entry;
    entry.type = type;
    entry.name = AAX_CString (name);
    mEntries.push_back (std::move (entry));
    return mEntries.back();
}

void AAX_CChunkDataParser::AddFloat (const char* name, float value)
{
    NewEntry (kFloatType, name).floatValue = value;
}

void AAX_CChunkDataParser::AddInt32 (const char* name, int32_t value)
{
    NewEntry (kInt32Type, name).int32Value = value;
}

void AAX_CChunkDataParser::AddDouble (const char* name, double value)
{
    NewEntry (kDoubleType, name).doubleValue = value;
}

void AAX_CChunkDataParser::AddInt16 (const char* name, int16_t value)
{
    NewEntry (kInt16Type, name).int16Value = value;
}

void AAX_CChunkDataParser::AddString (const char* name, AAX_CString value)
{
    // Stored texts end at their first NUL, so only that much is kept.
    NewEntry (kStringType, name).stringValue = AAX_CString (value.Get());
}

//==============================================================================
const AAX_CChunkDataParser::Entry* AAX_CChunkDataParser::FindEntry (const char* name, int32_t type)
{
    const int32_t index = FindName (AAX_CString (name));

    if (index < 0 || mEntries[static_cast<size_t> (index)].type != type)
        return nullptr;

    return &mEntries[static_cast<size_t> (index)];
}

bool AAX_CChunkDataParser::FindFloat (const char* name, float* value)
{
    const Entry* entry = FindEntry (name, kFloatType);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = entry->floatValue;
    return true;
}

bool AAX_CChunkDataParser::FindInt32 (const char* name, int32_t* value)
{
    const Entry* entry = FindEntry (name, kInt32Type);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = entry->int32Value;
    return true;
}

bool AAX_CChunkDataParser::FindDouble (const char* name, double* value)
{
    const Entry* entry = FindEntry (name, kDoubleType);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = entry->doubleValue;
    return true;
}

bool AAX_CChunkDataParser::FindInt16 (const char* name, int16_t* value)
{
    const Entry* entry = FindEntry (name, kInt16Type);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = entry->int16Value;
    return true;
}

bool AAX_CChunkDataParser::FindString (const char* name, AAX_IString* value)
{
    const Entry* entry = FindEntry (name, kStringType);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = entry->stringValue;
    return true;
}

int32_t AAX_CChunkDataParser::FindName (const AAX_CString& name)
{
    const int32_t count = NumEntries();

    if (count == 0)
        return -1;

    const int32_t start = (mLastFoundIndex >= count - 1) ? 0 : mLastFoundIndex + 1;

    for (int32_t step = 0; step < count; ++step)
    {
        const int32_t index = (start + step) % count;

        if (mEntries[static_cast<size_t> (index)].name == name)
        {
            mLastFoundIndex = index;
            return index;
        }
    }

    return -1;
}

//==============================================================================
int64_t AAX_CChunkDataParser::EntrySize (const Entry& entry)
{
    // Typeless entries (unknown tags read from a stored chunk) have no tag to
    // write them with, so they are left out of the data.
    if (entry.type < kFloatType || entry.type > kStringType)
        return 0;

    return RoundUpTo4 (kTagLength + int64_t (entry.name.Length()) + 1)
         + ValueSlotSize (entry.type, entry.stringValue.Length());
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    int64_t size = sizeof (kMarker);

    for (const auto& entry : mEntries)
    {
        size += EntrySize (entry);

        if (size > std::numeric_limits<int32_t>::max())
            return -1;
    }

    return static_cast<int32_t> (size);
}

int32_t AAX_CChunkDataParser::GetChunkData (AAX_SPlugInChunk* chunk) const
{
    return GetChunkData (chunk, GetChunkDataSize());
}

int32_t AAX_CChunkDataParser::GetChunkData (AAX_SPlugInChunk* chunk, int32_t capacity) const
{
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;

    const int32_t size = GetChunkDataSize();
    const int64_t limit = capacity < size ? capacity : size;

    if (size < 4 || limit < 4)
        return kChunkOverflowError;

    auto* data = reinterpret_cast<uint8_t*> (chunk->fData);
    std::memset (data, 0, static_cast<size_t> (limit));
    std::memcpy (data, kMarker, sizeof (kMarker));

    int64_t offset = sizeof (kMarker);

    for (const auto& entry : mEntries)
    {
        const int64_t entrySize = EntrySize (entry);

        if (entrySize == 0)
            continue;

        if (offset + entrySize > limit)
        {
            AAX_CHostServices::Trace (0x8000000, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                                      "aborting: chunk data will overflow buffer");
            return kChunkOverflowError;
        }

        const uint32_t nameLength = entry.name.Length();
        std::memcpy (data + offset, kTypeTags + 2 * (entry.type - 1), kTagLength);
        std::memcpy (data + offset + kTagLength, entry.name.Get(), nameLength);
        offset = RoundUpTo4 (offset + kTagLength + nameLength + 1);

        switch (entry.type)
        {
            case kFloatType:  WriteBigEndian (data + offset, BitCast<uint32_t> (entry.floatValue), 4); break;
            case kInt32Type:  WriteBigEndian (data + offset, BitCast<uint32_t> (entry.int32Value), 4); break;
            case kDoubleType: WriteBigEndian (data + offset, BitCast<uint64_t> (entry.doubleValue), 8); break;
            case kInt16Type:  WriteBigEndian (data + offset, BitCast<uint16_t> (entry.int16Value), 2); break;
            case kStringType: std::memcpy (data + offset, entry.stringValue.Get(), entry.stringValue.Length()); break;
            default: break;
        }

        offset += ValueSlotSize (entry.type, entry.stringValue.Length());
    }

    chunk->fSize = static_cast<int32_t> (offset);
    return AAX_SUCCESS;
}

//==============================================================================
void AAX_CChunkDataParser::LoadChunk (const AAX_SPlugInChunk* chunk)
{
    Clear();

    if (chunk == nullptr)
        return;

    mChunkVersion = chunk->fVersion;

    const int64_t size = chunk->fSize;
    const auto* data = reinterpret_cast<const uint8_t*> (chunk->fData);

    if (size < 5 || std::memcmp (data, kMarker, sizeof (kMarker)) != 0)
        return;

    int64_t offset = sizeof (kMarker);

    while (offset < size)
    {
        bool terminated = false;
        const int64_t nameLimit = (size - offset) < kMaxNameLength ? (size - offset) : kMaxNameLength;
        const int64_t nameLength = BoundedLength (data + offset, nameLimit, terminated);

        Entry entry;
        const char firstCharacter = nameLength > 0 ? static_cast<char> (data[offset]) : '\0';

        if (nameLength > kTagLength)
            entry.name = AAX_CString (std::string (reinterpret_cast<const char*> (data + offset + kTagLength),
                                                   static_cast<size_t> (nameLength - kTagLength)));

        offset = RoundUpTo4 (offset + nameLength + 1);

        // Number of value bytes the entry claims and how many it occupies.
        int64_t valueBytes = 0;

        switch (firstCharacter)
        {
            case 'l': entry.type = kInt32Type;  valueBytes = 4; break;
            case 'f': entry.type = kFloatType;  valueBytes = 4; break;
            case 's': entry.type = kInt16Type;  valueBytes = 4; break;
            case 'd': entry.type = kDoubleType; valueBytes = 8; break;
            case 'r': entry.type = kStringType; break;
            default:  entry.type = kNoType;     break;
        }

        if (entry.type == kStringType)
        {
            if (offset >= size)
                return;

            bool stringTerminated = false;
            const int64_t textLength = BoundedLength (data + offset, size - offset, stringTerminated);

            if (! stringTerminated)
                return;

            entry.stringValue = AAX_CString (std::string (reinterpret_cast<const char*> (data + offset),
                                                          static_cast<size_t> (textLength)));
            offset = RoundUpTo4 (offset + textLength + 1);
        }
        else if (valueBytes > 0)
        {
            if (offset + valueBytes > size)
                return;

            switch (entry.type)
            {
                case kInt32Type:  entry.int32Value = BitCast<int32_t> (static_cast<uint32_t> (ReadBigEndian (data + offset, 4))); break;
                case kFloatType:  entry.floatValue = BitCast<float> (static_cast<uint32_t> (ReadBigEndian (data + offset, 4))); break;
                case kInt16Type:  entry.int16Value = BitCast<int16_t> (static_cast<uint16_t> (ReadBigEndian (data + offset, 2))); break;
                case kDoubleType: entry.doubleValue = BitCast<double> (ReadBigEndian (data + offset, 8)); break;
                default: break;
            }

            offset += valueBytes;
        }

        mEntries.push_back (std::move (entry));
    }
}

void AAX_CChunkDataParser::Clear()
{
    mLastFoundIndex = -1;
    mChunkVersion = -1;
    mEntries.clear();
}
