#include "FakeEffectHost.h"

#include "AAX_CHostServices.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_UIDs.h"

#include <cstdio>
#include <cstring>

namespace effect_fakes
{
    std::string FormatValue (double value)
    {
        char text[64];
        std::snprintf (text, sizeof (text), "%g", value);
        return text;
    }

    //==========================================================================
    class ScopedHostServices::Host final : public IACFComponentFactory
    {
    public:
        class Services : public AAX_IACFHostServices_V3
        {
        public:
            std::vector<TraceRecord> traces;
            std::vector<AssertReport> asserts;

            acfResult QueryInterface (const acfIID&, void** out) override { *out = nullptr; return ACF_E_NOINTERFACE; }
            acfUInt32 AddRef() override { return 1; }
            acfUInt32 Release() override { return 1; }

            AAX_Result Assert (const char* file, int32_t line, const char* note) override
            {
                asserts.push_back ({ file, line, note, 0 });
                return 0;
            }

            AAX_Result Trace (int32_t priority, const char* message) override
            {
                traces.push_back ({ priority, message });
                return 0;
            }

            AAX_Result StackTrace (int32_t priority, int32_t, const char* message) override
            {
                traces.push_back ({ priority, message });
                return 0;
            }

            AAX_Result HandleAssertFailure (const char* file, int32_t line, const char* note, int32_t flags) override
            {
                asserts.push_back ({ file != nullptr ? file : "", line, note != nullptr ? note : "", flags });
                return 0;
            }
        };

        Services services;

        acfResult QueryInterface (const acfIID& iid, void** out) override
        {
            if (iid == IID_IACFComponentFactory || iid == IID_IACFUnknown)
            {
                *out = static_cast<IACFComponentFactory*> (this);
                return ACF_OK;
            }

            *out = nullptr;
            return ACF_E_NOINTERFACE;
        }

        acfUInt32 AddRef() override { return 1; }
        acfUInt32 Release() override { return 1; }

        acfResult CreateComponent (const acfCLSID& clsid, IACFUnknown*, const acfIID& iid, void** out) override
        {
            *out = nullptr;

            if (clsid != AAXCompID_HostServices)
                return ACF_E_NOINTERFACE;

            if (iid == IID_IAAXHostServicesV1)      *out = static_cast<AAX_IACFHostServices*> (&services);
            else if (iid == IID_IAAXHostServicesV2) *out = static_cast<AAX_IACFHostServices_V2*> (&services);
            else if (iid == IID_IAAXHostServicesV3) *out = static_cast<AAX_IACFHostServices_V3*> (&services);

            return *out != nullptr ? ACF_OK : ACF_E_NOINTERFACE;
        }
    };

    ScopedHostServices::ScopedHostServices()
        : mHost (new Host())
    {
        AAX_CHostServices::Set (nullptr);
        AAX_CHostServices::Set (mHost);
    }

    ScopedHostServices::~ScopedHostServices()
    {
        AAX_CHostServices::Set (nullptr);
        delete mHost;
    }

    const std::vector<TraceRecord>& ScopedHostServices::Traces() const { return mHost->services.traces; }
    const std::vector<AssertReport>& ScopedHostServices::Asserts() const { return mHost->services.asserts; }

    void ScopedHostServices::ClearRecords()
    {
        mHost->services.traces.clear();
        mHost->services.asserts.clear();
    }

    //==========================================================================
    AAX_Result RecordingController::PostPacket (AAX_CFieldIndex field, const void* data, uint32_t size)
    {
        PostedPacket packet;
        packet.field = field;
        packet.bytes.assign (static_cast<const uint8_t*> (data), static_cast<const uint8_t*> (data) + size);
        posted.push_back (packet);
        return postResult;
    }

    //==========================================================================
    AAX_Result RecordingAutomationDelegate::RegisterParameter (AAX_CParamID id)
    {
        calls.push_back (std::string ("register ") + id);
        return 0;
    }

    AAX_Result RecordingAutomationDelegate::UnregisterParameter (AAX_CParamID id)
    {
        calls.push_back (std::string ("unregister ") + id);
        return 0;
    }

    AAX_Result RecordingAutomationDelegate::PostSetValueRequest (AAX_CParamID id, double value) const
    {
        calls.push_back (std::string ("set ") + id + " " + FormatValue (value));
        return 0;
    }

    AAX_Result RecordingAutomationDelegate::PostCurrentValue (AAX_CParamID id, double value) const
    {
        calls.push_back (std::string ("current ") + id + " " + FormatValue (value));
        return 0;
    }

    AAX_Result RecordingAutomationDelegate::PostTouchRequest (AAX_CParamID id)
    {
        calls.push_back (std::string ("touch ") + id);
        return 0;
    }

    AAX_Result RecordingAutomationDelegate::PostReleaseRequest (AAX_CParamID id)
    {
        calls.push_back (std::string ("release ") + id);
        return 0;
    }

    AAX_Result RecordingAutomationDelegate::GetTouchState (AAX_CParamID, AAX_CBoolean* touched)
    {
        if (touched != nullptr)
            *touched = 0;

        return 0;
    }

    //==========================================================================
    /** Shared reference count of the fake host objects, so that tests can
        check the library releases what it takes. */
    struct ReferenceCounter
    {
        int32_t count = 0;
    };

    class FakeControllerHost::Automation : public AAX_IACFAutomationDelegate
    {
    public:
        explicit Automation (ReferenceCounter& counter) : mCounter (counter) {}

        std::vector<std::string> calls;
        AAX_IACFEffectParameters* effect = nullptr;

        acfResult QueryInterface (const acfIID&, void** out) override { *out = nullptr; return ACF_E_NOINTERFACE; }
        acfUInt32 AddRef() override { return static_cast<acfUInt32> (++mCounter.count); }
        acfUInt32 Release() override { return static_cast<acfUInt32> (--mCounter.count); }

        AAX_Result RegisterControl (AAX_CParamID id) override { calls.push_back (std::string ("register ") + id); return 0; }
        AAX_Result UnregisterControl (AAX_CParamID id) override { calls.push_back (std::string ("unregister ") + id); return 0; }

        AAX_Result PostSetValueRequest (AAX_CParamID id, double value) override
        {
            calls.push_back (std::string ("set ") + id + " " + FormatValue (value));

            // The host accepts every request and reports the value back.
            if (effect != nullptr)
                effect->UpdateParameterNormalizedValue (id, value, 0);

            return 0;
        }

        AAX_Result PostCurrentValue (AAX_CParamID id, double value) override
        {
            calls.push_back (std::string ("current ") + id + " " + FormatValue (value));
            return 0;
        }

        AAX_Result PostTouchRequest (AAX_CParamID id) override { calls.push_back (std::string ("touch ") + id); return 0; }
        AAX_Result PostReleaseRequest (AAX_CParamID id) override { calls.push_back (std::string ("release ") + id); return 0; }

        AAX_Result GetTouchState (AAX_CParamID, AAX_CBoolean* touched) override
        {
            if (touched != nullptr)
                *touched = 0;

            return 0;
        }

    private:
        ReferenceCounter& mCounter;
    };

    class FakeControllerHost::Controller final : public AAX_IACFController
    {
    public:
        Controller() : automation (counter) {}

        ReferenceCounter counter;
        Automation automation;
        std::vector<PostedPacket> posted;

        acfResult QueryInterface (const acfIID& iid, void** out) override
        {
            *out = nullptr;

            if (iid == IID_IAAXControllerV1 || iid == IID_IACFUnknown)
                *out = static_cast<AAX_IACFController*> (this);
            else if (iid == IID_IAAXAutomationDelegateV1)
                *out = static_cast<AAX_IACFAutomationDelegate*> (&automation);
            else
                return ACF_E_NOINTERFACE;

            ++counter.count;
            return ACF_OK;
        }

        acfUInt32 AddRef() override { return static_cast<acfUInt32> (++counter.count); }
        acfUInt32 Release() override { return static_cast<acfUInt32> (--counter.count); }

        AAX_Result PostPacket (AAX_CFieldIndex field, const void* data, uint32_t size) override
        {
            PostedPacket packet;
            packet.field = field;
            packet.bytes.assign (static_cast<const uint8_t*> (data), static_cast<const uint8_t*> (data) + size);
            posted.push_back (packet);
            return 0;
        }

        AAX_Result GetEffectID (AAX_IString*) const override { return 0; }
        AAX_Result GetEPOCHSampleRate (AAX_CSampleRate* rate) const override { if (rate) *rate = 48000.0f; return 0; }
        AAX_Result GetEPOCHInputStemFormat (AAX_EStemFormat*) const override { return 0; }
        AAX_Result GetEPOCHOutputStemFormat (AAX_EStemFormat*) const override { return 0; }
        AAX_Result GetSignalLatency (int32_t*) const override { return 0; }
        AAX_Result GetCycleCount (AAX_EProperty, AAX_CPropertyValue*) const override { return 0; }
        AAX_Result GetTODLocation (AAX_CTimeOfDay*) const override { return 0; }
        AAX_Result SetSignalLatency (int32_t) override { return 0; }
        AAX_Result SetCycleCount (AAX_EProperty*, AAX_CPropertyValue*, int32_t) override { return 0; }
        AAX_Result GetCurrentMeterValue (AAX_CTypeID, float*) const override { return 0; }
        AAX_Result GetMeterPeakValue (AAX_CTypeID, float*) const override { return 0; }
        AAX_Result ClearMeterPeakValue (AAX_CTypeID) const override { return 0; }
        AAX_Result GetMeterCount (uint32_t*) const override { return 0; }
        AAX_Result GetMeterClipped (AAX_CTypeID, AAX_CBoolean*) const override { return 0; }
        AAX_Result ClearMeterClipped (AAX_CTypeID) const override { return 0; }
        AAX_Result GetNextMIDIPacket (AAX_CFieldIndex*, AAX_CMidiPacket*) override { return 0; }
    };

    FakeControllerHost::FakeControllerHost()
        : mController (new Controller()), mAutomation (&mController->automation)
    {
    }

    FakeControllerHost::~FakeControllerHost()
    {
        delete mController;
    }

    IACFUnknown* FakeControllerHost::Unknown() { return static_cast<AAX_IACFController*> (mController); }
    void FakeControllerHost::AttachEffect (AAX_IACFEffectParameters* effect) { mAutomation->effect = effect; }
    std::vector<PostedPacket>& FakeControllerHost::Posted() { return mController->posted; }
    std::vector<std::string>& FakeControllerHost::AutomationCalls() { return mAutomation->calls; }
    int32_t FakeControllerHost::OutstandingReferences() const { return mController->counter.count; }
}
