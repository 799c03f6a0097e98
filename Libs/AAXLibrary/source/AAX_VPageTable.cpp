#include "AAX_VPageTable.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VPageTable::AAX_VPageTable (IACFUnknown* pageTableUnknown)
    : mIPageTable   (QueryACFInterface<AAX_IACFPageTable>    (pageTableUnknown, IID_IAAXPageTableV1)),
      mIPageTableV2 (QueryACFInterface<AAX_IACFPageTable_V2> (pageTableUnknown, IID_IAAXPageTableV2))
{
}

// The host interfaces are released in reverse order: version 2, then 1.
AAX_VPageTable::~AAX_VPageTable() = default;

#define AAX_FORWARD_TO(pointer, call)           \
    if (! pointer)                              \
        return AAX_ERROR_UNIMPLEMENTED;         \
    return pointer->call

AAX_Result AAX_VPageTable::Clear()                                 { AAX_FORWARD_TO (mIPageTable, Clear()); }
AAX_Result AAX_VPageTable::Empty (AAX_CBoolean& outEmpty) const    { AAX_FORWARD_TO (mIPageTable, Empty (outEmpty)); }
AAX_Result AAX_VPageTable::GetNumPages (int32_t& outNumPages) const { AAX_FORWARD_TO (mIPageTable, GetNumPages (outNumPages)); }
AAX_Result AAX_VPageTable::InsertPage (int32_t iPage)              { AAX_FORWARD_TO (mIPageTable, InsertPage (iPage)); }
AAX_Result AAX_VPageTable::RemovePage (int32_t iPage)              { AAX_FORWARD_TO (mIPageTable, RemovePage (iPage)); }

AAX_Result AAX_VPageTable::GetNumMappedParameterIDs (int32_t iPage, int32_t& outNumParameterIdentifiers) const
{
    AAX_FORWARD_TO (mIPageTable, GetNumMappedParameterIDs (iPage, outNumParameterIdentifiers));
}

AAX_Result AAX_VPageTable::ClearMappedParameter (int32_t iPage, int32_t iIndex)
{
    AAX_FORWARD_TO (mIPageTable, ClearMappedParameter (iPage, iIndex));
}

AAX_Result AAX_VPageTable::GetMappedParameterID (int32_t iPage, int32_t iIndex, AAX_IString& oParameterIdentifier) const
{
    AAX_FORWARD_TO (mIPageTable, GetMappedParameterID (iPage, iIndex, oParameterIdentifier));
}

AAX_Result AAX_VPageTable::MapParameterID (AAX_CParamID iParameterIdentifier, int32_t iPage, int32_t iIndex)
{
    AAX_FORWARD_TO (mIPageTable, MapParameterID (iParameterIdentifier, iPage, iIndex));
}

AAX_Result AAX_VPageTable::GetNumParametersWithNameVariations (int32_t& oNumParameterIdentifiers) const
{
    AAX_FORWARD_TO (mIPageTableV2, GetNumParametersWithNameVariations (oNumParameterIdentifiers));
}

AAX_Result AAX_VPageTable::GetNameVariationParameterIDAtIndex (int32_t iIndex, AAX_IString& oParameterIdentifier) const
{
    AAX_FORWARD_TO (mIPageTableV2, GetNameVariationParameterIDAtIndex (iIndex, oParameterIdentifier));
}

AAX_Result AAX_VPageTable::GetNumNameVariationsForParameter (AAX_CParamID iParameterIdentifier, int32_t& oNumVariations) const
{
    AAX_FORWARD_TO (mIPageTableV2, GetNumNameVariationsForParameter (iParameterIdentifier, oNumVariations));
}

AAX_Result AAX_VPageTable::GetParameterNameVariationAtIndex (AAX_CParamID iParameterIdentifier, int32_t iIndex, AAX_IString& oNameVariation, int32_t& oLength) const
{
    AAX_FORWARD_TO (mIPageTableV2, GetParameterNameVariationAtIndex (iParameterIdentifier, iIndex, oNameVariation, oLength));
}

AAX_Result AAX_VPageTable::GetParameterNameVariationOfLength (AAX_CParamID iParameterIdentifier, int32_t iLength, AAX_IString& oNameVariation) const
{
    AAX_FORWARD_TO (mIPageTableV2, GetParameterNameVariationOfLength (iParameterIdentifier, iLength, oNameVariation));
}

AAX_Result AAX_VPageTable::ClearParameterNameVariations()
{
    AAX_FORWARD_TO (mIPageTableV2, ClearParameterNameVariations());
}

AAX_Result AAX_VPageTable::ClearNameVariationsForParameter (AAX_CParamID iParameterIdentifier)
{
    AAX_FORWARD_TO (mIPageTableV2, ClearNameVariationsForParameter (iParameterIdentifier));
}

AAX_Result AAX_VPageTable::SetParameterNameVariation (AAX_CParamID iParameterIdentifier, const AAX_IString& iNameVariation, int32_t iLength)
{
    AAX_FORWARD_TO (mIPageTableV2, SetParameterNameVariation (iParameterIdentifier, iNameVariation, iLength));
}

#undef AAX_FORWARD_TO
