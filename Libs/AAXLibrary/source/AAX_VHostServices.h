// Versioned wrapper of the host's services interface. Made once at start-up
// from the host unknown; asks the host's component factory for versions 1
// to 3 and forwards each operation to the version that defines it.
#pragma once

#include "ACFPtr.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IHostServices.h"

class AAX_VHostServices : public AAX_IHostServices
{
public:
    explicit AAX_VHostServices (IACFUnknown* hostUnknown);
    ~AAX_VHostServices() override;

    AAX_VHostServices (const AAX_VHostServices&) = delete;
    AAX_VHostServices& operator= (const AAX_VHostServices&) = delete;

    /** Needs version 3; -20004 without it. */
    AAX_Result HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags) const override;
    /** Needs version 1; -20004 without it. */
    AAX_Result Trace (int32_t iPriority, const char* iMessage) const override;
    /** Needs version 2; -20009 without it. */
    AAX_Result StackTrace (int32_t iTracePriority, int32_t iStackTracePriority, const char* iMessage) const override;

private:
    // Released in reverse order: version 3, 2, then 1.
    ACFPtr<AAX_IACFHostServices>    mHostServices;
    ACFPtr<AAX_IACFHostServices_V2> mHostServicesV2;
    ACFPtr<AAX_IACFHostServices_V3> mHostServicesV3;
};
