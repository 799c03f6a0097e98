#include "AAX_VEffectDescriptor.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"
#include "AAX_VComponentDescriptor.h"
#include "AAX_VPropertyMap.h"

namespace
{
    IACFUnknown* hostObjectOf (AAX_IPropertyMap* map)
    {
        return map != nullptr ? map->GetIUnknown() : nullptr;
    }

    IACFUnknown* hostObjectOf (AAX_IComponentDescriptor* descriptor)
    {
        auto* wrapper = dynamic_cast<AAX_VComponentDescriptor*> (descriptor);
        return wrapper != nullptr ? wrapper->GetIUnknown() : nullptr;
    }
}

AAX_VEffectDescriptor::AAX_VEffectDescriptor (IACFUnknown* hostUnknown)
    : mHostUnknown (RetainACFObject (hostUnknown))
{
    auto factory = QueryACFInterface<IACFComponentFactory> (hostUnknown, IID_IACFComponentFactory);
    auto hostDescriptor = CreateACFComponent<IACFUnknown> (factory.get(), AAXCompID_EffectDescriptor, IID_IAAXEffectDescriptorV1);

    mIACFEffectDescriptor   = QueryACFInterface<AAX_IACFEffectDescriptor>    (hostDescriptor.get(), IID_IAAXEffectDescriptorV1);
    mIACFEffectDescriptorV2 = QueryACFInterface<AAX_IACFEffectDescriptor_V2> (mIACFEffectDescriptor.get(), IID_IAAXEffectDescriptorV2);
}

// Members go in reverse order: the objects made for the client first,
// then the host interfaces from the highest version down.
AAX_VEffectDescriptor::~AAX_VEffectDescriptor() = default;

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    mComponentDescriptors.push_back (std::make_unique<AAX_VComponentDescriptor> (mHostUnknown.get()));
    return mComponentDescriptors.back().get();
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    std::unique_ptr<AAX_VPropertyMap> map (AAX_VPropertyMap::Create (mHostUnknown.get()));
    if (map == nullptr)
        return nullptr;

    mPropertyMaps.push_back (std::move (map));
    return mPropertyMaps.back().get();
}

#define AAX_FORWARD_TO_V1(call)                     \
    if (! mIACFEffectDescriptor)                    \
        return AAX_ERROR_NULL_OBJECT;               \
    return mIACFEffectDescriptor->call

AAX_Result AAX_VEffectDescriptor::AddComponent (AAX_IComponentDescriptor* inComponentDescriptor)
{
    AAX_FORWARD_TO_V1 (AddComponent (hostObjectOf (inComponentDescriptor)));
}

AAX_Result AAX_VEffectDescriptor::AddName (const char* inPlugInName)
{
    AAX_FORWARD_TO_V1 (AddName (inPlugInName));
}

AAX_Result AAX_VEffectDescriptor::AddCategory (uint32_t inCategory)
{
    AAX_FORWARD_TO_V1 (AddCategory (inCategory));
}

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter (uint32_t inCategory, AAX_CParamID inParamID)
{
    AAX_FORWARD_TO_V1 (AddCategoryBypassParameter (inCategory, inParamID));
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr (void* inProcPtr, AAX_CProcPtrID inProcID)
{
    AAX_FORWARD_TO_V1 (AddProcPtr (inProcPtr, inProcID));
}

AAX_Result AAX_VEffectDescriptor::SetProperties (AAX_IPropertyMap* inProperties)
{
    AAX_FORWARD_TO_V1 (SetProperties (hostObjectOf (inProperties)));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo (AAX_EResourceType inResourceType, const char* inInfo)
{
    AAX_FORWARD_TO_V1 (AddResourceInfo (inResourceType, inInfo));
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription (AAX_CTypeID inMeterID, const char* inMeterName, AAX_IPropertyMap* inProperties)
{
    AAX_FORWARD_TO_V1 (AddMeterDescription (inMeterID, inMeterName, hostObjectOf (inProperties)));
}

#undef AAX_FORWARD_TO_V1

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode (AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask)
{
    if (! mIACFEffectDescriptorV2)
        return AAX_ERROR_UNIMPLEMENTED;
    return mIACFEffectDescriptorV2->AddControlMIDINode (inNodeID, inNodeType, inNodeName, inChannelMask);
}
