#include "PageTable.h"

#include "AAX_Errors.h"
#include "AAX_IString.h"

namespace zelkhost
{
    HostPageTable::HostPageTable (const HostOptions& options)
        : HostObject ("page table"), mOptions (options)
    {
    }

    AAX_Result HostPageTable::Clear()
    {
        const std::lock_guard<std::mutex> guard (mLock);
        mPages.clear();
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::Empty (AAX_CBoolean& empty) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        empty = mPages.empty() ? 1 : 0;
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetNumPages (int32_t& numPages) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        numPages = static_cast<int32_t> (mPages.size());
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::InsertPage (int32_t page)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (page < 0 || page > static_cast<int32_t> (mPages.size()))
            return AAX_ERROR_INVALID_ARGUMENT;
        mPages.insert (mPages.begin() + page, std::vector<std::string>());
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::RemovePage (int32_t page)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (! validPage (page))
            return AAX_ERROR_INVALID_ARGUMENT;
        mPages.erase (mPages.begin() + page);
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetNumMappedParameterIDs (int32_t page, int32_t& count) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (! validPage (page))
            return AAX_ERROR_INVALID_ARGUMENT;
        count = 0;
        for (const auto& id : mPages[static_cast<std::size_t> (page)])
            count += id.empty() ? 0 : 1;
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::ClearMappedParameter (int32_t page, int32_t index)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (! validPage (page) || index < 0)
            return AAX_ERROR_INVALID_ARGUMENT;
        auto& slots = mPages[static_cast<std::size_t> (page)];
        if (static_cast<std::size_t> (index) < slots.size())
            slots[static_cast<std::size_t> (index)].clear();
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetMappedParameterID (int32_t page, int32_t index, AAX_IString& parameterID) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (! validPage (page) || index < 0)
            return AAX_ERROR_INVALID_ARGUMENT;
        const auto& slots = mPages[static_cast<std::size_t> (page)];
        parameterID.Set (static_cast<std::size_t> (index) < slots.size() ? slots[static_cast<std::size_t> (index)].c_str() : "");
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::MapParameterID (AAX_CParamID parameterID, int32_t page, int32_t index)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (parameterID == nullptr || page < 0 || index < 0 || index > 1023 || page > 1023)
            return AAX_ERROR_INVALID_ARGUMENT;
        if (static_cast<std::size_t> (page) >= mPages.size())
            mPages.resize (static_cast<std::size_t> (page) + 1);
        auto& slots = mPages[static_cast<std::size_t> (page)];
        if (static_cast<std::size_t> (index) >= slots.size())
            slots.resize (static_cast<std::size_t> (index) + 1);
        slots[static_cast<std::size_t> (index)] = parameterID;
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetNumParametersWithNameVariations (int32_t& count) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        count = static_cast<int32_t> (mNameVariations.size());
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetNameVariationParameterIDAtIndex (int32_t index, AAX_IString& parameterID) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (index < 0 || index >= static_cast<int32_t> (mNameVariations.size()))
            return AAX_ERROR_INVALID_ARGUMENT;
        parameterID.Set (std::next (mNameVariations.begin(), index)->first.c_str());
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetNumNameVariationsForParameter (AAX_CParamID parameterID, int32_t& count) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        const auto found = parameterID != nullptr ? mNameVariations.find (parameterID) : mNameVariations.end();
        count = found != mNameVariations.end() ? static_cast<int32_t> (found->second.size()) : 0;
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetParameterNameVariationAtIndex (AAX_CParamID parameterID, int32_t index, AAX_IString& name, int32_t& length) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        const auto found = parameterID != nullptr ? mNameVariations.find (parameterID) : mNameVariations.end();
        if (found == mNameVariations.end() || index < 0 || index >= static_cast<int32_t> (found->second.size()))
            return AAX_ERROR_INVALID_ARGUMENT;
        const auto variation = std::next (found->second.begin(), index);
        name.Set (variation->second.c_str());
        length = variation->first;
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::GetParameterNameVariationOfLength (AAX_CParamID parameterID, int32_t length, AAX_IString& name) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        const auto found = parameterID != nullptr ? mNameVariations.find (parameterID) : mNameVariations.end();
        if (found == mNameVariations.end())
            return AAX_ERROR_INVALID_ARGUMENT;
        const auto variation = found->second.find (length);
        if (variation == found->second.end())
            return AAX_ERROR_INVALID_ARGUMENT;
        name.Set (variation->second.c_str());
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::ClearParameterNameVariations()
    {
        const std::lock_guard<std::mutex> guard (mLock);
        mNameVariations.clear();
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::ClearNameVariationsForParameter (AAX_CParamID parameterID)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (parameterID != nullptr)
            mNameVariations.erase (parameterID);
        return AAX_SUCCESS;
    }

    AAX_Result HostPageTable::SetParameterNameVariation (AAX_CParamID parameterID, const AAX_IString& name, int32_t length)
    {
        if (parameterID == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        mNameVariations[parameterID][length] = name.Get();
        return AAX_SUCCESS;
    }

    std::vector<std::vector<std::string>> HostPageTable::pages() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mPages;
    }

    void* HostPageTable::answers (const acfIID& iid)
    {
        const auto versions = mOptions.pageTable;
        if (iid == IID_IAAXPageTableV1 && offers (versions, 1)) return as<AAX_IACFPageTable>();
        if (iid == IID_IAAXPageTableV2 && offers (versions, 2)) return as<AAX_IACFPageTable_V2>();
        return nullptr;
    }
}
