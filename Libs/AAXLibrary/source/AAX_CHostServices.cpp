#include "AAX_CHostServices.h"

#include "AAX_Errors.h"
#include "AAX_VHostServices.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace
{
    // Written only by ACFStartup and ACFShutdown; read from any thread.
    std::atomic<AAX_VHostServices*> servicesObject { nullptr };
}

void AAX_CHostServices::Set (IACFUnknown* hostUnknown)
{
    auto* current = servicesObject.load();

    if (hostUnknown != nullptr && current == nullptr)
    {
        servicesObject.store (new AAX_VHostServices (hostUnknown));
    }
    else if (hostUnknown == nullptr && current != nullptr)
    {
        servicesObject.store (nullptr);
        delete current;
    }
}

AAX_IHostServices* AAX_CHostServices::Get()
{
    return servicesObject.load();
}

AAX_Result AAX_CHostServices::HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags)
{
    if (auto* services = servicesObject.load())
        return services->HandleAssertFailure (iFile, iLine, iNote, iFlags);
    return AAX_SUCCESS;
}

AAX_Result AAX_CHostServices::Trace (int32_t iPriority, const char* iFormat, ...)
{
    auto* services = servicesObject.load();
    if (services == nullptr)
        return AAX_SUCCESS;

    char message[kTraceBufferSize] = {};
    if (iFormat != nullptr)
    {
        va_list args;
        va_start (args, iFormat);
        std::vsnprintf (message, sizeof (message), iFormat, args);
        va_end (args);
    }

    return services->Trace (iPriority, message);
}

AAX_Result AAX_CHostServices::StackTrace (int32_t iTracePriority, int32_t iStackTracePriority, const char* iFormat, ...)
{
    auto* services = servicesObject.load();
    if (services == nullptr)
        return AAX_SUCCESS;

    char message[kTraceBufferSize] = {};
    if (iFormat != nullptr)
    {
        va_list args;
        va_start (args, iFormat);
        std::vsnprintf (message, sizeof (message), iFormat, args);
        va_end (args);
    }

    return services->StackTrace (iTracePriority, iStackTracePriority, message);
}
