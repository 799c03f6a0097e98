// Process-wide access to the host's services. ACFStartup installs the
// services object and ACFShutdown removes it; outside that span every call
// here does nothing and returns AAX_SUCCESS, so library code may trace and
// report assertions at any time.
#pragma once

#include "AAX.h"

class IACFUnknown;
class AAX_IHostServices;

class AAX_CHostServices
{
public:
    AAX_CHostServices() = delete;

    /** A non-null host while no services object exists creates one; a null
        host while one exists deletes it. Any other call changes nothing. */
    static void Set (IACFUnknown* hostUnknown);

    /** The current services object, or null outside start-up/shut-down. */
    static AAX_IHostServices* Get();

    /** Reports a failed assertion (file path, line, condition text, flags;
        library callers pass flags 1). */
    static AAX_Result HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags = 1);

    /** Formats printf-style (at most 511 characters, longer output is cut)
        and hands the text to the host at the given priority. */
    static AAX_Result Trace (int32_t iPriority, const char* iFormat, ...)
#if defined(__GNUC__) || defined(__clang__)
        __attribute__ ((format (printf, 2, 3)))
#endif
        ;

    /** Like Trace, with a stack trace at the second priority (host version 2). */
    static AAX_Result StackTrace (int32_t iTracePriority, int32_t iStackTracePriority, const char* iFormat, ...)
#if defined(__GNUC__) || defined(__clang__)
        __attribute__ ((format (printf, 3, 4)))
#endif
        ;

    /** Size of the formatting buffer, including the terminating NUL. */
    static constexpr int kTraceBufferSize = 512;
};
