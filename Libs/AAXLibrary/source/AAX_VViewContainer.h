// Wrapper of the host's view container (versions 1 and 2).
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_IViewContainer.h"

class AAX_VViewContainer : public AAX_IViewContainer
{
public:
    explicit AAX_VViewContainer (IACFUnknown* viewContainerUnknown);
    ~AAX_VViewContainer() override;

    /** 0 without version 1. */
    int32_t GetType() override;
    /** Null without version 1. */
    void* GetPtr() override;
    /** -20009 without version 1. */
    AAX_Result GetModifiers (uint32_t* outModifiers) override;
    /** 0 without version 1. */
    AAX_Result SetViewSize (AAX_Point& inSize) override;
    AAX_Result HandleParameterMouseDown (AAX_CParamID inParamID, uint32_t inModifiers) override;
    AAX_Result HandleParameterMouseDrag (AAX_CParamID inParamID, uint32_t inModifiers) override;
    AAX_Result HandleParameterMouseUp (AAX_CParamID inParamID, uint32_t inModifiers) override;

    AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) override;
    AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) override;
    AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) override;

private:
    ACFPtr<AAX_IACFViewContainer>    mIViewContainer;
    ACFPtr<AAX_IACFViewContainer_V2> mIViewContainerV2;
};
