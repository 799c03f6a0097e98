#include "HostServices.h"

#include "AAX_Errors.h"

#include <stdexcept>

namespace zelkhost
{
    namespace
    {
        std::string textOf (const char* text)
        {
            return text != nullptr ? std::string (text) : std::string();
        }
    }

    HostServices::HostServices (const HostOptions& options)
        : HostObject ("host services"), mOptions (options)
    {
    }

    void HostServices::throwWhenBroken() const
    {
        if (mOptions.hostServicesThrow)
            throw std::runtime_error ("host services are broken");
    }

    AAX_Result HostServices::Assert (const char* file, int32_t line, const char* note)
    {
        return HandleAssertFailure (file, line, note, 0);
    }

    AAX_Result HostServices::Trace (int32_t priority, const char* message)
    {
        throwWhenBroken();
        const std::lock_guard<std::mutex> guard (mLock);
        mTraces.push_back ({ priority, textOf (message) });
        return AAX_SUCCESS;
    }

    AAX_Result HostServices::StackTrace (int32_t tracePriority, int32_t, const char* message)
    {
        throwWhenBroken();
        const std::lock_guard<std::mutex> guard (mLock);
        mStackTraces.push_back ({ tracePriority, textOf (message) });
        return AAX_SUCCESS;
    }

    AAX_Result HostServices::HandleAssertFailure (const char* file, int32_t line, const char* note, int32_t flags)
    {
        throwWhenBroken();
        const std::lock_guard<std::mutex> guard (mLock);
        mAsserts.push_back ({ textOf (file), line, textOf (note), flags });
        return AAX_SUCCESS;
    }

    std::vector<TraceRecord> HostServices::traces() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mTraces;
    }

    std::vector<TraceRecord> HostServices::stackTraces() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mStackTraces;
    }

    std::vector<AssertRecord> HostServices::asserts() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mAsserts;
    }

    void HostServices::clear()
    {
        const std::lock_guard<std::mutex> guard (mLock);
        mTraces.clear();
        mStackTraces.clear();
        mAsserts.clear();
    }

    void* HostServices::answers (const acfIID& iid)
    {
        const auto versions = mOptions.hostServices;
        if (iid == IID_IAAXHostServicesV1 && offers (versions, 1)) return as<AAX_IACFHostServices>();
        if (iid == IID_IAAXHostServicesV2 && offers (versions, 2)) return as<AAX_IACFHostServices_V2>();
        if (iid == IID_IAAXHostServicesV3 && offers (versions, 3)) return as<AAX_IACFHostServices_V3>();
        return nullptr;
    }
}
