// A standard exception during registration reaches the host as the entry
// point reports it: one trace with the exception's own text, and -20042.
#include "ClientTestHost.h"

#include "AAX_Exports.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{
    /** The fake host, whose component factory throws when asked for an effect descriptor. */
    struct HostThatThrows final : IACFComponentFactory
    {
        explicit HostThatThrows (fakehost::FakeHost& hostToWrap) : host (hostToWrap) {}

        acfResult QueryInterface (const acfIID& iid, void** out) override
        {
            if (iid != IID_IACFComponentFactory)
                return host.Unknown()->QueryInterface (iid, out);
            *out = static_cast<IACFComponentFactory*> (this);
            return ACF_OK;
        }
        acfUInt32 AddRef() override { return 1; }
        acfUInt32 Release() override { return 1; }

        acfResult CreateComponent (const acfCLSID& clsid, IACFUnknown* outer, const acfIID& iid, void** out) override
        {
            if (clsid == AAXCompID_EffectDescriptor)
                throw std::runtime_error ("descriptor store exhausted");
            return host.factory.CreateComponent (clsid, outer, iid, out);
        }

        fakehost::FakeHost& host;
    };
}

TEST (RegistrationFailure, AStandardExceptionIsTracedWithItsTextByTheEntryPoint)
{
    fakehost::FakeHost host;
    fakehost::ScopedStartup startup (host);
    HostThatThrows throwing (host);

    IACFPluginDefinition* definition = nullptr;
    EXPECT_EQ (ACFRegisterPlugin (&throwing, &definition), AAX_ERROR_UNKNOWN_EXCEPTION);
    EXPECT_EQ (definition, nullptr);
    ASSERT_EQ (host.traces.size(), 1u);
    EXPECT_EQ (host.traces[0].priority, AAX_eTracePriority_Critical);
    EXPECT_EQ (host.traces[0].message, "AAXRegisterPlugin exception caught: descriptor store exhausted");
}
