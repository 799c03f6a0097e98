#include "AAX_VHostServices.h"

#include "AAX_Errors.h"
#include "AAX_UIDs.h"

AAX_VHostServices::AAX_VHostServices (IACFUnknown* hostUnknown)
{
    // The factory reference is dropped again at the end of this scope.
    const auto factory = QueryACFInterface<IACFComponentFactory> (hostUnknown, IID_IACFComponentFactory);
    if (! factory)
        return;

    mHostServices   = CreateACFComponent<AAX_IACFHostServices>    (factory.get(), AAXCompID_HostServices, IID_IAAXHostServicesV1);
    mHostServicesV2 = CreateACFComponent<AAX_IACFHostServices_V2> (factory.get(), AAXCompID_HostServices, IID_IAAXHostServicesV2);
    mHostServicesV3 = CreateACFComponent<AAX_IACFHostServices_V3> (factory.get(), AAXCompID_HostServices, IID_IAAXHostServicesV3);
}

AAX_VHostServices::~AAX_VHostServices() = default;

AAX_Result AAX_VHostServices::HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags) const
{
    if (! mHostServicesV3)
        return AAX_ERROR_NULL_OBJECT;
    return mHostServicesV3->HandleAssertFailure (iFile, iLine, iNote, iFlags);
}

AAX_Result AAX_VHostServices::Trace (int32_t iPriority, const char* iMessage) const
{
    if (! mHostServices)
        return AAX_ERROR_NULL_OBJECT;
    return mHostServices->Trace (iPriority, iMessage);
}

AAX_Result AAX_VHostServices::StackTrace (int32_t iTracePriority, int32_t iStackTracePriority, const char* iMessage) const
{
    if (! mHostServicesV2)
        return AAX_ERROR_UNIMPLEMENTED;
    return mHostServicesV2->StackTrace (iTracePriority, iStackTracePriority, iMessage);
}
