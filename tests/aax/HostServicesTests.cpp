// Tracing and assertion reports through the process-wide host services,
// result names, the library's exceptions and the checked result.

#include "LibraryHost.h"

#include "AAX_CHostServices.h"
#include "AAX_Errors.h"
#include "AAX_Exception.h"
#include "AAX_Exports.h"
#include "AAX_IHostServices.h"

#include <gtest/gtest.h>

#include <string>

using namespace librarytest;

// ---------------------------------------------------------------------------
// Tracing

TEST (Tracing, BeforeStartupNothingReachesAnyHost)
{
    TestHost host;
    EXPECT_EQ (AAX_CHostServices::Trace (0x8000000, "early %d", 1), 0);
    EXPECT_EQ (AAX_CHostServices::HandleAssertFailure ("file.cpp", 3, "x > 0", 1), 0);
    EXPECT_EQ (AAX_CHostServices::Get(), nullptr);
    EXPECT_TRUE (host.services().traces().empty());
}

TEST (Tracing, AfterShutdownNothingReachesTheHost)
{
    TestHost host;
    {
        ScopedStartup startup (host);
    }
    EXPECT_EQ (AAX_CHostServices::Trace (0x8000000, "late"), 0);
    EXPECT_EQ (AAX_CHostServices::HandleAssertFailure ("file.cpp", 3, "x > 0", 1), 0);
    EXPECT_TRUE (host.services().traces().empty());
    EXPECT_TRUE (host.services().asserts().empty());
    EXPECT_EQ (host.unbalanced(), "");
}

TEST (Tracing, FormatsPrintfStyleAtTheGivenPriority)
{
    TestHost host;
    ScopedStartup startup (host);

    EXPECT_EQ (AAX_CHostServices::Trace (0x4000000, "%s has %d bands at %.1f dB", "preset", 6, -3.5), 0);
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 1u);
    EXPECT_EQ (traces[0].priority, 0x4000000);
    EXPECT_EQ (traces[0].message, "preset has 6 bands at -3.5 dB");
}

TEST (Tracing, LongMessagesAreCutTo511Characters)
{
    TestHost host;
    ScopedStartup startup (host);

    const std::string message (600, 'x');
    AAX_CHostServices::Trace (0x8000000, "%s", message.c_str());
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 1u);
    EXPECT_EQ (traces[0].message, std::string (511, 'x'));
}

TEST (Tracing, AssertionReportsCarryFileLineNoteAndFlags)
{
    TestHost host;
    ScopedStartup startup (host);

    AAX_CHostServices::HandleAssertFailure ("Libs/AAXLibrary/source/AAX_Thing.cpp", 128, "count >= 0", 1);
    const auto asserts = host.services().asserts();
    ASSERT_EQ (asserts.size(), 1u);
    EXPECT_EQ (asserts[0].file, "Libs/AAXLibrary/source/AAX_Thing.cpp");
    EXPECT_EQ (asserts[0].line, 128);
    EXPECT_EQ (asserts[0].note, "count >= 0");
    EXPECT_EQ (asserts[0].flags, 1);
}

TEST (Tracing, StackTracesNeedVersion2)
{
    TestHost host;
    ScopedStartup startup (host);
    EXPECT_EQ (AAX_CHostServices::StackTrace (0x4000000, 0x8000000, "where %d", 7), 0);
    const auto stackTraces = host.services().stackTraces();
    ASSERT_EQ (stackTraces.size(), 1u);
    EXPECT_EQ (stackTraces[0].message, "where 7");
}

// ---------------------------------------------------------------------------
// Missing host-services versions

TEST (HostServicesVersions, TraceWithoutVersion1IsNullObject)
{
    auto options = versionTwoHost();
    options.hostServices = onlyVersion (2) | onlyVersion (3);
    TestHost host (options);
    ScopedStartup startup (host);

    EXPECT_EQ (AAX_CHostServices::Trace (0x8000000, "lost"), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (host.services().traces().empty());
    EXPECT_EQ (AAX_CHostServices::HandleAssertFailure ("f", 1, "n", 1), 0);
}

TEST (HostServicesVersions, AssertionReportWithoutVersion3IsNullObject)
{
    auto options = versionTwoHost();
    options.hostServices = versionsUpTo (2);
    TestHost host (options);
    ScopedStartup startup (host);

    EXPECT_EQ (AAX_CHostServices::HandleAssertFailure ("f", 1, "n", 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_TRUE (host.services().asserts().empty());
}

TEST (HostServicesVersions, StackTraceWithoutVersion2IsUnimplemented)
{
    auto options = versionTwoHost();
    options.hostServices = onlyVersion (1);
    TestHost host (options);
    ScopedStartup startup (host);

    EXPECT_EQ (AAX_CHostServices::StackTrace (0, 0, "x"), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (AAX_CHostServices::Trace (0x8000000, "still traced"), 0);
}

TEST (HostServicesVersions, HostWithoutFactoryGivesServicesWithNoVersions)
{
    auto options = versionTwoHost();
    options.componentFactory = false;
    TestHost host (options);
    ScopedStartup startup (host);

    EXPECT_EQ (AAX_CHostServices::Trace (0x8000000, "x"), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (AAX_CHostServices::HandleAssertFailure ("f", 1, "n", 1), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (callsStartingWith (host.factory(), "CreateComponent host services"), 0u);
}

TEST (HostServicesVersions, ShutdownReleasesEveryVersionOnce)
{
    TestHost host;
    ACFStartup (host.unknown());
    EXPECT_EQ (callsStartingWith (host.factory(), "CreateComponent host services"), 3u);
    EXPECT_EQ (host.services().references(), 3) << "one reference per version";
    EXPECT_EQ (host.factory().references(), 0) << "the factory is released right after use";

    ACFShutdown (nullptr);
    EXPECT_EQ (host.unbalanced(), "");
}

// ---------------------------------------------------------------------------
// Result names

TEST (ResultNames, KnownAndUnknownCodes)
{
    EXPECT_EQ (AAX::AsStringResult (0), "AAX_SUCCESS");
    EXPECT_EQ (AAX::AsStringResult (-20004), "AAX_ERROR_NULL_OBJECT");
    EXPECT_EQ (AAX::AsStringResult (-20046), "AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW");
    EXPECT_EQ (AAX::AsStringResult (-20028), "AAX_RESULT_NEW_PACKET_POSTED");
    EXPECT_EQ (AAX::AsStringResult (-20047), "<unknown error code>");
    EXPECT_EQ (AAX::AsStringResult (-20029), "<unknown error code>");
    EXPECT_EQ (AAX::AsStringResult (-20000), "<unknown error code>");
    EXPECT_EQ (AAX::AsStringResult (1), "<unknown error code>");
}

TEST (ResultNames, FortyFiveNamedCodesWithTheirPrefixes)
{
    int named = 0;
    int resultNames = 0;
    for (AAX_Result code = -20046; code <= -20001; ++code)
    {
        const std::string name = AAX::AsStringResult (code);
        if (name == "<unknown error code>")
            continue;

        ++named;
        const bool isError = name.rfind ("AAX_ERROR_", 0) == 0;
        const bool isResult = name.rfind ("AAX_RESULT_", 0) == 0;
        EXPECT_TRUE (isError || isResult) << name;
        resultNames += isResult ? 1 : 0;
    }
    EXPECT_EQ (named, 45);
    EXPECT_EQ (resultNames, 3);
}

// ---------------------------------------------------------------------------
// Exceptions

TEST (Exceptions, FullTextAddsOnlyTheGivenParts)
{
    EXPECT_STREQ (AAX::Exception::Any ("plain").what(), "plain");
    EXPECT_STREQ (AAX::Exception::Any ("msg", "Fn").what(), "msg func:Fn");
    EXPECT_STREQ (AAX::Exception::Any ("msg", "", "12").what(), "msg line:12");
    EXPECT_STREQ (AAX::Exception::Any ("msg", "Fn", "12").what(), "msg func:Fn line:12");
}

TEST (Exceptions, ResultErrorNamesTheCodeInDecimal)
{
    const AAX::Exception::ResultError error (-20004);
    EXPECT_STREQ (error.what(), "AAX_ERROR_NULL_OBJECT (-20004)");
    EXPECT_EQ (error.Result(), -20004);
    EXPECT_STREQ (AAX::Exception::ResultError (5).what(), "<unknown error code> (5)");
}

// ---------------------------------------------------------------------------
// Checked result

TEST (CheckedResult, SuccessPassesSilently)
{
    TestHost host;
    ScopedStartup startup (host);

    AAX_CheckedResult result (AAX_SUCCESS);
    result = AAX_SUCCESS;
    EXPECT_EQ (static_cast<AAX_Result> (result), 0);
    EXPECT_EQ (result.LastError(), 0);
    EXPECT_TRUE (host.services().traces().empty());
}

TEST (CheckedResult, FailureIsTracedThenThrown)
{
    TestHost host;
    ScopedStartup startup (host);

    AAX_CheckedResult result;
    try
    {
        result = AAX_ERROR_UNIMPLEMENTED;
        FAIL() << "a failing result must throw";
    }
    catch (const AAX::Exception::ResultError& error)
    {
        EXPECT_EQ (error.Result(), AAX_ERROR_UNIMPLEMENTED);
    }

    EXPECT_EQ (result.LastError(), AAX_ERROR_UNIMPLEMENTED);
    EXPECT_EQ (static_cast<AAX_Result> (result), 0) << "the held result is reset once thrown";
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 1u);
    EXPECT_EQ (traces[0].priority, 0x4000000);
    EXPECT_EQ (traces[0].message, "AAX_CheckedResult - throwing AAX_ERROR_UNIMPLEMENTED (-20009)");
}

TEST (CheckedResult, ConstructionFromAFailureThrows)
{
    EXPECT_THROW (AAX_CheckedResult { AAX_ERROR_NULL_OBJECT }, AAX::Exception::ResultError);
}

TEST (CheckedResult, AcceptedResultsPassUntilReset)
{
    AAX_CheckedResult result;
    result.AddAcceptedResult (AAX_RESULT_PACKET_STREAM_NOT_EMPTY);
    EXPECT_NO_THROW (result = AAX_RESULT_PACKET_STREAM_NOT_EMPTY);
    EXPECT_EQ (static_cast<AAX_Result> (result), AAX_RESULT_PACKET_STREAM_NOT_EMPTY);

    result.ResetAcceptedResults();
    EXPECT_THROW (result = AAX_RESULT_PACKET_STREAM_NOT_EMPTY, AAX::Exception::ResultError);
    EXPECT_NO_THROW (result = AAX_SUCCESS);
}
