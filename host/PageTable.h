// A page table (versions 1 and 2) as the host keeps it for control surfaces:
// pages of parameter IDs and name variations per parameter.
#pragma once

#include "AAX_IACFPageTable.h"
#include "HostObject.h"
#include "InterfaceVersions.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace zelkhost
{
    class HostPageTable final : public HostObject<AAX_IACFPageTable_V2>
    {
    public:
        explicit HostPageTable (const HostOptions& options);

        AAX_Result Clear() override;
        AAX_Result Empty (AAX_CBoolean& empty) const override;
        AAX_Result GetNumPages (int32_t& numPages) const override;
        AAX_Result InsertPage (int32_t page) override;
        AAX_Result RemovePage (int32_t page) override;
        AAX_Result GetNumMappedParameterIDs (int32_t page, int32_t& count) const override;
        AAX_Result ClearMappedParameter (int32_t page, int32_t index) override;
        AAX_Result GetMappedParameterID (int32_t page, int32_t index, AAX_IString& parameterID) const override;
        AAX_Result MapParameterID (AAX_CParamID parameterID, int32_t page, int32_t index) override;

        AAX_Result GetNumParametersWithNameVariations (int32_t& count) const override;
        AAX_Result GetNameVariationParameterIDAtIndex (int32_t index, AAX_IString& parameterID) const override;
        AAX_Result GetNumNameVariationsForParameter (AAX_CParamID parameterID, int32_t& count) const override;
        AAX_Result GetParameterNameVariationAtIndex (AAX_CParamID parameterID, int32_t index, AAX_IString& name, int32_t& length) const override;
        AAX_Result GetParameterNameVariationOfLength (AAX_CParamID parameterID, int32_t length, AAX_IString& name) const override;
        AAX_Result ClearParameterNameVariations() override;
        AAX_Result ClearNameVariationsForParameter (AAX_CParamID parameterID) override;
        AAX_Result SetParameterNameVariation (AAX_CParamID parameterID, const AAX_IString& name, int32_t length) override;

        /** Page by page, slot by slot; empty slots are "". */
        std::vector<std::vector<std::string>> pages() const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        bool validPage (int32_t page) const noexcept { return page >= 0 && page < static_cast<int32_t> (mPages.size()); }

        const HostOptions& mOptions;
        mutable std::mutex mLock;
        std::vector<std::vector<std::string>> mPages;
        std::map<std::string, std::map<int32_t, std::string>> mNameVariations; ///< by ID, then by length
    };
}
