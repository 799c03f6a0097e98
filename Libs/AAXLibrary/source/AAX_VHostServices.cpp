#include "AAX_VHostServices.h"

#include "AAX_Errors.h"
#include "AAX_IACFHostServices.h"
#include "AAX_UIDs.h"
#include "IACFComponentFactory.h"

namespace
{
    template <typename Interface>
    Interface* createHostServicesVersion (IACFComponentFactory& factory, const acfIID& iid)
    {
        void* created = nullptr;
        if (factory.CreateComponent (AAXCompID_HostServices, nullptr, iid, &created) != ACF_OK)
            return nullptr;
        return static_cast<Interface*> (created);
    }
}

AAX_VHostServices::AAX_VHostServices (IACFUnknown* hostUnknown)
{
    if (hostUnknown == nullptr)
        return;

    void* factoryPointer = nullptr;
    if (hostUnknown->QueryInterface (IID_IACFComponentFactory, &factoryPointer) != ACF_OK || factoryPointer == nullptr)
        return;

    auto* factory = static_cast<IACFComponentFactory*> (factoryPointer);
    mHostServices   = createHostServicesVersion<AAX_IACFHostServices>    (*factory, IID_IAAXHostServicesV1);
    mHostServicesV2 = createHostServicesVersion<AAX_IACFHostServices_V2> (*factory, IID_IAAXHostServicesV2);
    mHostServicesV3 = createHostServicesVersion<AAX_IACFHostServices_V3> (*factory, IID_IAAXHostServicesV3);
    factory->Release();
}

AAX_VHostServices::~AAX_VHostServices()
{
    if (mHostServicesV3 != nullptr) mHostServicesV3->Release();
    if (mHostServicesV2 != nullptr) mHostServicesV2->Release();
    if (mHostServices != nullptr)   mHostServices->Release();
}

AAX_Result AAX_VHostServices::HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags) const
{
    if (mHostServicesV3 == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mHostServicesV3->HandleAssertFailure (iFile, iLine, iNote, iFlags);
}

AAX_Result AAX_VHostServices::Trace (int32_t iPriority, const char* iMessage) const
{
    if (mHostServices == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return mHostServices->Trace (iPriority, iMessage);
}

AAX_Result AAX_VHostServices::StackTrace (int32_t iTracePriority, int32_t iStackTracePriority, const char* iMessage) const
{
    if (mHostServicesV2 == nullptr)
        return AAX_ERROR_UNIMPLEMENTED;
    return mHostServicesV2->StackTrace (iTracePriority, iStackTracePriority, iMessage);
}
