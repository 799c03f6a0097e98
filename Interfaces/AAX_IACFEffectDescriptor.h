// The host's effect descriptor in its two versions (component
// AAXCompID_EffectDescriptor).
#pragma once

#include "IACFUnknown.h"

class AAX_IACFEffectDescriptor : public IACFUnknown
{
public:
    virtual AAX_Result AddComponent (IACFUnknown* inComponentDescriptor) = 0;
    virtual AAX_Result AddName (const char* inPlugInName) = 0;
    virtual AAX_Result AddCategory (uint32_t inCategory) = 0;
    virtual AAX_Result AddCategoryBypassParameter (uint32_t inCategory, AAX_CParamID inParamID) = 0;
    virtual AAX_Result AddProcPtr (void* inProcPtr, AAX_CProcPtrID inProcID) = 0;
    virtual AAX_Result SetProperties (IACFUnknown* inProperties) = 0;
    virtual AAX_Result AddResourceInfo (AAX_EResourceType inResourceType, const char* inInfo) = 0;
    virtual AAX_Result AddMeterDescription (AAX_CTypeID inMeterID, const char* inMeterName, IACFUnknown* inProperties) = 0;

protected:
    ~AAX_IACFEffectDescriptor() = default;
};

class AAX_IACFEffectDescriptor_V2 : public AAX_IACFEffectDescriptor
{
public:
    virtual AAX_Result AddControlMIDINode (AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask) = 0;

protected:
    ~AAX_IACFEffectDescriptor_V2() = default;
};
