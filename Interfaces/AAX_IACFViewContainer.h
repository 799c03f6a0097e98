// The host's view container in its two versions, asked of the unknown the
// host passes to the GUI's SetViewContainer.
#pragma once

#include "IACFUnknown.h"

class AAX_IACFViewContainer : public IACFUnknown
{
public:
    virtual int32_t GetType() = 0;
    virtual void* GetPtr() = 0;
    virtual AAX_Result GetModifiers (uint32_t* outModifiers) = 0;
    virtual AAX_Result SetViewSize (AAX_Point& inSize) = 0;
    virtual AAX_Result HandleParameterMouseDown (AAX_CParamID inParamID, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag (AAX_CParamID inParamID, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp (AAX_CParamID inParamID, uint32_t inModifiers) = 0;

protected:
    ~AAX_IACFViewContainer() = default;
};

class AAX_IACFViewContainer_V2 : public AAX_IACFViewContainer
{
public:
    virtual AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) = 0;
    virtual AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) = 0;

protected:
    ~AAX_IACFViewContainer_V2() = default;
};
