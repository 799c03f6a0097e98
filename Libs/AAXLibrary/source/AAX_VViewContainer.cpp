#include "AAX_VViewContainer.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VViewContainer::AAX_VViewContainer (IACFUnknown* viewContainerUnknown)
    : mIViewContainer   (QueryACFInterface<AAX_IACFViewContainer>    (viewContainerUnknown, IID_IAAXViewContainerV1)),
      mIViewContainerV2 (QueryACFInterface<AAX_IACFViewContainer_V2> (viewContainerUnknown, IID_IAAXViewContainerV2))
{
}

// The host interfaces are released in reverse order: version 2, then 1.
AAX_VViewContainer::~AAX_VViewContainer() = default;

int32_t AAX_VViewContainer::GetType()
{
    return mIViewContainer ? mIViewContainer->GetType() : 0;
}

void* AAX_VViewContainer::GetPtr()
{
    return mIViewContainer ? mIViewContainer->GetPtr() : nullptr;
}

AAX_Result AAX_VViewContainer::GetModifiers (uint32_t* outModifiers)
{
    return mIViewContainer ? mIViewContainer->GetModifiers (outModifiers) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::SetViewSize (AAX_Point& inSize)
{
    return mIViewContainer ? mIViewContainer->SetViewSize (inSize) : AAX_SUCCESS;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown (AAX_CParamID inParamID, uint32_t inModifiers)
{
    return mIViewContainer ? mIViewContainer->HandleParameterMouseDown (inParamID, inModifiers) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag (AAX_CParamID inParamID, uint32_t inModifiers)
{
    return mIViewContainer ? mIViewContainer->HandleParameterMouseDrag (inParamID, inModifiers) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp (AAX_CParamID inParamID, uint32_t inModifiers)
{
    return mIViewContainer ? mIViewContainer->HandleParameterMouseUp (inParamID, inModifiers) : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDown (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers)
{
    return mIViewContainerV2 ? mIViewContainerV2->HandleMultipleParametersMouseDown (inParamIDs, inNumOfParams, inModifiers)
                             : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseDrag (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers)
{
    return mIViewContainerV2 ? mIViewContainerV2->HandleMultipleParametersMouseDrag (inParamIDs, inNumOfParams, inModifiers)
                             : AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_VViewContainer::HandleMultipleParametersMouseUp (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers)
{
    return mIViewContainerV2 ? mIViewContainerV2->HandleMultipleParametersMouseUp (inParamIDs, inNumOfParams, inModifiers)
                             : AAX_ERROR_UNIMPLEMENTED;
}
