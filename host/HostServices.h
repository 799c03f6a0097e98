// The host's services (versions 1 to 3) as the plug-in reaches them: traces,
// stack traces and assertion reports are recorded for the host to read.
#pragma once

#include "AAX_IACFHostServices.h"
#include "HostObject.h"
#include "InterfaceVersions.h"

#include <mutex>
#include <string>
#include <vector>

namespace zelkhost
{
    struct TraceRecord
    {
        int32_t priority = 0;
        std::string message;
    };

    struct AssertRecord
    {
        std::string file;
        int32_t line = 0;
        std::string note;
        int32_t flags = 0;
    };

    class HostServices final : public HostObject<AAX_IACFHostServices_V3>
    {
    public:
        explicit HostServices (const HostOptions& options);

        AAX_Result Assert (const char* file, int32_t line, const char* note) override;
        AAX_Result Trace (int32_t priority, const char* message) override;
        AAX_Result StackTrace (int32_t tracePriority, int32_t stackTracePriority, const char* message) override;
        AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note, int32_t flags) override;

        // Copies, so they may be read while the plug-in keeps reporting from other threads.
        std::vector<TraceRecord> traces() const;
        std::vector<TraceRecord> stackTraces() const;
        std::vector<AssertRecord> asserts() const;
        void clear();

    protected:
        void* answers (const acfIID& iid) override;

    private:
        void throwWhenBroken() const;

        const HostOptions& mOptions;
        mutable std::mutex mLock;
        std::vector<TraceRecord> mTraces, mStackTraces;
        std::vector<AssertRecord> mAsserts;
    };
}
