#include "AAX_CChunkDataParser.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"

#include <algorithm>
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
void AAX_CChunkDataParser::NewEntry (int32_t type, const std::string& name, uint64_t value)
{
    auto known = mNameIds.find (name);

    if (known == mNameIds.end())
    {
        known = mNameIds.emplace (name, static_cast<int32_t> (mNames.size())).first;
        mNames.push_back (name);
    }

    Entry entry;
    entry.type = type;
    entry.nameId = known->second;
    entry.value = value;
    mEntries.push_back (entry);
}

uint64_t AAX_CChunkDataParser::NewText (const char* text, size_t length)
{
    const uint64_t position = mTexts.size();
    mTexts.append (text, length);
    mTexts.push_back ('\0');
    return position;
}

void AAX_CChunkDataParser::AddFloat (const char* name, float value)
{
    NewEntry (kFloatType, AAX_CString (name).StdString(), BitCast<uint32_t> (value));
}

void AAX_CChunkDataParser::AddInt32 (const char* name, int32_t value)
{
    NewEntry (kInt32Type, AAX_CString (name).StdString(), BitCast<uint32_t> (value));
}

void AAX_CChunkDataParser::AddDouble (const char* name, double value)
{
    NewEntry (kDoubleType, AAX_CString (name).StdString(), BitCast<uint64_t> (value));
}

void AAX_CChunkDataParser::AddInt16 (const char* name, int16_t value)
{
    NewEntry (kInt16Type, AAX_CString (name).StdString(), BitCast<uint16_t> (value));
}

void AAX_CChunkDataParser::AddString (const char* name, AAX_CString value)
{
    // Stored texts end at their first NUL, so only that much is kept.
    const char* text = value.Get();
    NewEntry (kStringType, AAX_CString (name).StdString(), NewText (text, std::strlen (text)));
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

    *value = BitCast<float> (static_cast<uint32_t> (entry->value));
    return true;
}

bool AAX_CChunkDataParser::FindInt32 (const char* name, int32_t* value)
{
    const Entry* entry = FindEntry (name, kInt32Type);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = BitCast<int32_t> (static_cast<uint32_t> (entry->value));
    return true;
}

bool AAX_CChunkDataParser::FindDouble (const char* name, double* value)
{
    const Entry* entry = FindEntry (name, kDoubleType);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = BitCast<double> (entry->value);
    return true;
}

bool AAX_CChunkDataParser::FindInt16 (const char* name, int16_t* value)
{
    const Entry* entry = FindEntry (name, kInt16Type);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = BitCast<int16_t> (static_cast<uint16_t> (entry->value));
    return true;
}

bool AAX_CChunkDataParser::FindString (const char* name, AAX_IString* value)
{
    const Entry* entry = FindEntry (name, kStringType);

    if (entry == nullptr || value == nullptr)
        return false;

    *value = AAX_CString (Text (*entry));
    return true;
}

void AAX_CChunkDataParser::UpdateIndex()
{
    if (mIndexedEntries == mEntries.size())
        return;

    // Positions grouped by name, each group in entry order (a counting sort).
    mFirstPosition.assign (mNames.size() + 1, 0);

    for (const auto& entry : mEntries)
        ++mFirstPosition[static_cast<size_t> (entry.nameId) + 1];

    for (size_t n = 1; n < mFirstPosition.size(); ++n)
        mFirstPosition[n] += mFirstPosition[n - 1];

    std::vector<int32_t> next (mFirstPosition.begin(), mFirstPosition.end() - 1);
    mPositions.assign (mEntries.size(), 0);
    int32_t index = 0;

    for (const auto& entry : mEntries)
        mPositions[static_cast<size_t> (next[static_cast<size_t> (entry.nameId)]++)] = index++;

    mIndexedEntries = mEntries.size();
}

int32_t AAX_CChunkDataParser::FindName (const AAX_CString& name)
{
    const int32_t count = NumEntries();
    const auto known = mNameIds.find (name.StdString());

    if (count == 0 || known == mNameIds.end())
        return -1;

    UpdateIndex();

    // The first entry of that name at or after the start, else its first of all.
    const int32_t start = (mLastFoundIndex >= count - 1) ? 0 : mLastFoundIndex + 1;
    const auto first = mPositions.begin() + mFirstPosition[static_cast<size_t> (known->second)];
    const auto last = mPositions.begin() + mFirstPosition[static_cast<size_t> (known->second) + 1];
    const auto found = std::lower_bound (first, last, start);

    mLastFoundIndex = (found != last) ? *found : *first;
    return mLastFoundIndex;
}

//==============================================================================
int64_t AAX_CChunkDataParser::EntrySize (const Entry& entry) const
{
    const uint32_t textLength = entry.type == kStringType ? static_cast<uint32_t> (std::strlen (Text (entry))) : 0;
    return RoundUpTo4 (kTagLength + int64_t (Name (entry).size()) + 1) + ValueSlotSize (entry.type, textLength);
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
        if (offset + EntrySize (entry) > limit)
        {
            AAX_CHostServices::Trace (0x8000000, "AAX_CChunkDataParser::GetChunkData ERROR: %s",
                                      "aborting: chunk data will overflow buffer");
            return kChunkOverflowError;
        }

        const std::string& name = Name (entry);
        std::memcpy (data + offset, kTypeTags + 2 * (entry.type - 1), kTagLength);
        std::memcpy (data + offset + kTagLength, name.data(), name.size());
        offset = RoundUpTo4 (offset + kTagLength + int64_t (name.size()) + 1);

        uint32_t textLength = 0;

        switch (entry.type)
        {
            case kFloatType:
            case kInt32Type:  WriteBigEndian (data + offset, entry.value, 4); break;
            case kDoubleType: WriteBigEndian (data + offset, entry.value, 8); break;
            case kInt16Type:  WriteBigEndian (data + offset, entry.value, 2); break;
            case kStringType:
                textLength = static_cast<uint32_t> (std::strlen (Text (entry)));
                std::memcpy (data + offset, Text (entry), textLength);
                break;
            default: break;
        }

        offset += ValueSlotSize (entry.type, textLength);
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
    std::string name;

    while (offset < size)
    {
        bool terminated = false;
        const int64_t nameLimit = (size - offset) < kMaxNameLength ? (size - offset) : kMaxNameLength;
        const int64_t nameLength = BoundedLength (data + offset, nameLimit, terminated);
        const char firstCharacter = nameLength > 0 ? static_cast<char> (data[offset]) : '\0';

        if (nameLength > kTagLength)
            name.assign (reinterpret_cast<const char*> (data + offset + kTagLength), static_cast<size_t> (nameLength - kTagLength));
        else
            name.clear();

        offset = RoundUpTo4 (offset + nameLength + 1);

        // Number of value bytes the entry claims and how many it occupies.
        int32_t type = kNoType;
        int64_t valueBytes = 0;

        switch (firstCharacter)
        {
            case 'l': type = kInt32Type;  valueBytes = 4; break;
            case 'f': type = kFloatType;  valueBytes = 4; break;
            case 's': type = kInt16Type;  valueBytes = 4; break;
            case 'd': type = kDoubleType; valueBytes = 8; break;
            case 'r': type = kStringType; break;
            default:  break;
        }

        // Without a known tag there is no telling where the value ends, nor
        // where a next entry would start, and no lookup could use the entry.
        if (type == kNoType)
            return;

        uint64_t value = 0;

        if (type == kStringType)
        {
            if (offset >= size)
                return;

            bool stringTerminated = false;
            const int64_t textLength = BoundedLength (data + offset, size - offset, stringTerminated);

            if (! stringTerminated)
                return;

            value = NewText (reinterpret_cast<const char*> (data + offset), static_cast<size_t> (textLength));
            offset = RoundUpTo4 (offset + textLength + 1);
        }
        else
        {
            if (offset + valueBytes > size)
                return;

            // int16: its two bytes, then two bytes of padding.
            value = ReadBigEndian (data + offset, type == kInt16Type ? 2 : static_cast<int> (valueBytes));
            offset += valueBytes;
        }

        NewEntry (type, name, value);
    }
}

void AAX_CChunkDataParser::Clear()
{
    mLastFoundIndex = -1;
    mChunkVersion = -1;
    mIndexedEntries = 0;

    // Swapped out rather than cleared: a long chunk's memory is given back.
    std::deque<Entry>().swap (mEntries);
    std::string().swap (mTexts);
    std::vector<std::string>().swap (mNames);
    std::unordered_map<std::string, int32_t>().swap (mNameIds);
    std::vector<int32_t>().swap (mPositions);
    std::vector<int32_t>().swap (mFirstPosition);
}
