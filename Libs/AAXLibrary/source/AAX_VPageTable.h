// Wrapper of a host page table (versions 1 and 2). Every operation returns
// -20009 when the version that defines it is missing.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFPageTable.h"
#include "AAX_IPageTable.h"

class AAX_VPageTable : public AAX_IPageTable
{
public:
    explicit AAX_VPageTable (IACFUnknown* pageTableUnknown);
    ~AAX_VPageTable() override;

    AAX_Result Clear() override;
    AAX_Result Empty (AAX_CBoolean& outEmpty) const override;
    AAX_Result GetNumPages (int32_t& outNumPages) const override;
    AAX_Result InsertPage (int32_t iPage) override;
    AAX_Result RemovePage (int32_t iPage) override;
    AAX_Result GetNumMappedParameterIDs (int32_t iPage, int32_t& outNumParameterIdentifiers) const override;
    AAX_Result ClearMappedParameter (int32_t iPage, int32_t iIndex) override;
    AAX_Result GetMappedParameterID (int32_t iPage, int32_t iIndex, AAX_IString& oParameterIdentifier) const override;
    AAX_Result MapParameterID (AAX_CParamID iParameterIdentifier, int32_t iPage, int32_t iIndex) override;

    AAX_Result GetNumParametersWithNameVariations (int32_t& oNumParameterIdentifiers) const override;
    AAX_Result GetNameVariationParameterIDAtIndex (int32_t iIndex, AAX_IString& oParameterIdentifier) const override;
    AAX_Result GetNumNameVariationsForParameter (AAX_CParamID iParameterIdentifier, int32_t& oNumVariations) const override;
    AAX_Result GetParameterNameVariationAtIndex (AAX_CParamID iParameterIdentifier, int32_t iIndex, AAX_IString& oNameVariation, int32_t& oLength) const override;
    AAX_Result GetParameterNameVariationOfLength (AAX_CParamID iParameterIdentifier, int32_t iLength, AAX_IString& oNameVariation) const override;
    AAX_Result ClearParameterNameVariations() override;
    AAX_Result ClearNameVariationsForParameter (AAX_CParamID iParameterIdentifier) override;
    AAX_Result SetParameterNameVariation (AAX_CParamID iParameterIdentifier, const AAX_IString& iNameVariation, int32_t iLength) override;

    /** True when the host object answered at least version 1. */
    bool IsSupported() const noexcept { return static_cast<bool> (mIPageTable); }

private:
    ACFPtr<AAX_IACFPageTable>    mIPageTable;
    ACFPtr<AAX_IACFPageTable_V2> mIPageTableV2;
};
