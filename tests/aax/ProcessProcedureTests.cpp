// Process procedures described through the component descriptor: one by
// one by the library when the host's descriptor stops at version 2, by the
// host itself from version 3.

#include "LibraryHost.h"

#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "AAX_IPropertyMap.h"
#include "AAX_VComponentDescriptor.h"

#include <gtest/gtest.h>

using namespace librarytest;

namespace
{
    constexpr AAX_CPropertyValue kNativeID = 0x5A4C4B31; // 'ZLK1'
    constexpr AAX_CPropertyValue kTIID = 0x5A4C4B32;     // 'ZLK2'

    void processAudio (void* const[], const void*) {}
    int32_t initInstance (const void*, int32_t) { return 0; }
    int32_t runInBackground() { return 0; }

    const void* asPointer (AAX_CProcessProc procedure)          { return reinterpret_cast<const void*> (procedure); }
    const void* asPointer (AAX_CInstanceInitProc procedure)     { return reinterpret_cast<const void*> (procedure); }
    const void* asPointer (AAX_CBackgroundProc procedure)       { return reinterpret_cast<const void*> (procedure); }
}

class ProcessProcedures : public ::testing::Test
{
protected:
    ProcessProcedures() : startup (host), descriptor (host.unknown())
    {
        properties = descriptor.NewPropertyMap();
    }

    HostComponentDescriptor& hostDescriptor() { return host.only<HostComponentDescriptor>(); }
    std::vector<RecordedProcessProc> registered() { return hostDescriptor().snapshot().processProcs; }

    void askForNative()
    {
        properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
        properties->AddPointer (AAX_eProperty_NativeProcessProc, asPointer (processAudio));
        properties->AddPointer (AAX_eProperty_NativeInstanceInitProc, asPointer (initInstance));
        properties->AddPointer (AAX_eProperty_NativeBackgroundProc, asPointer (runInBackground));
    }

    void askForTI()
    {
        properties->AddProperty (AAX_eProperty_PlugInID_TI, kTIID);
        properties->AddPointer (AAX_eProperty_TIDLLFileName, "Zelk.dll");
        properties->AddPointer (AAX_eProperty_TIProcessProc, "ProcessTI");
    }

    TestHost host;
    ScopedStartup startup;
    AAX_VComponentDescriptor descriptor;
    AAX_IPropertyMap* properties = nullptr;
};

TEST_F (ProcessProcedures, NativeProcedureIsRegisteredAndItsIDReturned)
{
    askForNative();
    AAX_CSelector ids[3] = { 7, 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), 0);

    const auto procs = registered();
    ASSERT_EQ (procs.size(), 1u);
    const auto& registration = procs.front();
    EXPECT_EQ (registration.process, &processAudio);
    EXPECT_EQ (registration.instanceInit, &initInstance);
    EXPECT_EQ (registration.background, &runInBackground);
    EXPECT_TRUE (hasCall (hostDescriptor(), "ProcessProc_Native property map"));
    EXPECT_EQ (registration.properties.valueOr (AAX_eProperty_PlugInID_Native, 0), kNativeID);
    EXPECT_EQ (ids[0], registration.selector);
    EXPECT_NE (ids[0], 0u);
    EXPECT_EQ (ids[1], 0u);
    EXPECT_EQ (ids[2], 7u);
}

TEST_F (ProcessProcedures, OutArrayWithoutRoomForTheTerminatorOverflows)
{
    askForNative();
    AAX_CSelector ids[1] = { 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 1), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ (ids[0], 7u) << "nothing is written when the IDs do not fit";
}

TEST_F (ProcessProcedures, WithoutOutArrayTheRegistrationResultIsReturned)
{
    askForNative();
    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    EXPECT_EQ (registered().size(), 1u);
}

TEST_F (ProcessProcedures, NativeAndTIGiveTwoIDs)
{
    askForNative();
    askForTI();
    AAX_CSelector ids[3] = {};
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), 0);
    const auto procs = registered();
    ASSERT_EQ (procs.size(), 2u);
    EXPECT_EQ (ids[0], procs[0].selector);
    EXPECT_EQ (ids[1], procs[1].selector);
    EXPECT_NE (ids[0], ids[1]);
    EXPECT_EQ (ids[2], 0u);

    EXPECT_FALSE (procs[1].native);
    EXPECT_EQ (procs[1].dllName, "Zelk.dll");
    EXPECT_EQ (procs[1].processSymbol, "ProcessTI");
    EXPECT_TRUE (hasCall (hostDescriptor(), "ProcessProc_TI Zelk.dll ProcessTI <null> <null>"));
}

TEST_F (ProcessProcedures, AudioBufferLengthGoesToADuplicateWithoutIt)
{
    askForNative();
    properties->AddProperty (AAX_eProperty_AudioBufferLength, 1024);

    const auto mapsBefore = host.count<HostPropertyMap>();
    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    const auto procs = registered();
    ASSERT_EQ (procs.size(), 1u);

    EXPECT_EQ (host.count<HostPropertyMap>(), mapsBefore + 1) << "registered with a duplicate";
    EXPECT_FALSE (procs[0].properties.has (AAX_eProperty_AudioBufferLength));
    EXPECT_EQ (procs[0].properties.valueOr (AAX_eProperty_PlugInID_Native, 0), kNativeID);
    EXPECT_EQ (hostMapOf (host, properties)->snapshot().values.at (AAX_eProperty_AudioBufferLength), 1024) << "the caller's map is untouched";
    EXPECT_TRUE (host.services().asserts().empty());
}

TEST_F (ProcessProcedures, FailedRemovalFromTheDuplicateIsReportedAndRegistrationGoesOn)
{
    askForNative();
    properties->AddProperty (AAX_eProperty_AudioBufferLength, 1024);
    host.options().propertyRemovalResult = AAX_ERROR_NULL_OBJECT;   // maps made from now on

    EXPECT_EQ (descriptor.AddProcessProc (properties), 0);
    EXPECT_EQ (registered().size(), 1u);
    const auto asserts = host.services().asserts();
    ASSERT_EQ (asserts.size(), 1u);
    EXPECT_EQ (asserts[0].note, "AAX_SUCCESS == removeNativeAudioBufferLengthResult");
    EXPECT_EQ (asserts[0].flags, 1);
}

TEST_F (ProcessProcedures, MissingNativeProcedureIsTracedAndFails)
{
    properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
    AAX_CSelector ids[2] = { 7, 7 };

    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 2), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (registered().empty());
    EXPECT_EQ (ids[0], 7u);
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 1u);
    EXPECT_EQ (traces[0].priority, 0x8000000);
    EXPECT_EQ (traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_NativeProcessProc");
}

TEST_F (ProcessProcedures, MissingTINamesAreTracedEach)
{
    properties->AddProperty (AAX_eProperty_PlugInID_TI, kTIID);
    EXPECT_EQ (descriptor.AddProcessProc (properties), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_TRUE (registered().empty());
    const auto traces = host.services().traces();
    ASSERT_EQ (traces.size(), 2u);
    EXPECT_EQ (traces[0].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIDLLFileName");
    EXPECT_EQ (traces[1].message, "AAX_VComponentDescriptor: ManuallyAddProcessProcs() - no value found for AAX_eProperty_TIProcessProc");
}

TEST_F (ProcessProcedures, FailedNativeRegistrationSkipsTIAndLeavesTheOutArray)
{
    askForNative();
    askForTI();
    host.options().processProcResult = AAX_ERROR_INVALID_ARGUMENT;
    AAX_CSelector ids[3] = { 7, 7, 7 };

    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 3), AAX_ERROR_INVALID_ARGUMENT);
    EXPECT_EQ (callsStartingWith (hostDescriptor(), "ProcessProc_TI"), 0u);
    EXPECT_EQ (ids[0], 7u);
}

TEST_F (ProcessProcedures, NothingAskedForGivesAnEmptyList)
{
    AAX_CSelector ids[2] = { 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 2), 0);
    EXPECT_EQ (ids[0], 0u);
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 0), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, -5), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
}

TEST_F (ProcessProcedures, NullMapIsNullObject)
{
    EXPECT_EQ (descriptor.AddProcessProc (nullptr), AAX_ERROR_NULL_OBJECT);
}

TEST (ProcessProceduresVersion3, HostRegistersEverythingItself)
{
    auto options = versionTwoHost();
    options.componentDescriptor = versionsUpTo (3);
    options.propertyMap = versionsUpTo (3);
    TestHost host (options);
    AAX_VComponentDescriptor descriptor (host.unknown());
    auto* properties = descriptor.NewPropertyMap();
    properties->AddProperty (AAX_eProperty_PlugInID_Native, kNativeID);
    properties->AddPointer (AAX_eProperty_NativeProcessProc, asPointer (processAudio));

    AAX_CSelector ids[4] = { 7, 7, 7, 7 };
    EXPECT_EQ (descriptor.AddProcessProc (properties, ids, 4), 0);
    auto& hostDescriptor = host.only<HostComponentDescriptor>();
    EXPECT_EQ (hostDescriptor.calls(), std::vector<std::string> { "AddProcessProc 4" }) << "nothing registered one by one";
    const auto procs = hostDescriptor.snapshot().processProcs;
    ASSERT_EQ (procs.size(), 1u);
    EXPECT_EQ (ids[0], procs[0].selector);
    EXPECT_EQ (ids[1], 0u);
}
