// Test doubles for the effect side of the library: a host-services host that
// records traces and assertion reports, a controller that records posted
// packets, an automation delegate that records requests, a controller
// unknown that plays the host for an effect (it answers set requests by
// calling the effect back, as a host does), and a chunk record in a heap
// block of exactly the header plus its data bytes, so that any access
// outside the data is caught by the address sanitizer.
#pragma once

#include "AAX.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFController.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IAutomationDelegate.h"
#include "AAX_IController.h"
#include "IACFComponentFactory.h"

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class AAX_IACFEffectParameters;

namespace effect_fakes
{
    struct AssertReport
    {
        std::string file;
        int32_t line = 0;
        std::string note;
        int32_t flags = 0;
    };

    struct TraceRecord
    {
        int32_t priority = 0;
        std::string message;
    };

    /** Installs a host whose services record what the library reports, for
        the lifetime of the object. */
    class ScopedHostServices
    {
    public:
        ScopedHostServices();
        ~ScopedHostServices();

        const std::vector<TraceRecord>& Traces() const;
        const std::vector<AssertReport>& Asserts() const;
        void ClearRecords();

    private:
        class Host;
        Host* mHost;
    };

    //==========================================================================
    struct PostedPacket
    {
        AAX_CFieldIndex field = 0;
        std::vector<uint8_t> bytes;
    };

    /** A controller whose PostPacket records the packet and answers with
        postResult; every other operation answers 0. */
    class RecordingController : public AAX_IController
    {
    public:
        std::vector<PostedPacket> posted;
        AAX_Result postResult = 0;

        AAX_Result PostPacket (AAX_CFieldIndex field, const void* data, uint32_t size) override;

        AAX_Result GetEffectID (AAX_IString*) const override { return 0; }
        AAX_Result GetSampleRate (AAX_CSampleRate*) const override { return 0; }
        AAX_Result GetInputStemFormat (AAX_EStemFormat*) const override { return 0; }
        AAX_Result GetOutputStemFormat (AAX_EStemFormat*) const override { return 0; }
        AAX_Result GetSignalLatency (int32_t*) const override { return 0; }
        AAX_Result GetCycleCount (AAX_EProperty, AAX_CPropertyValue*) const override { return 0; }
        AAX_Result GetTODLocation (AAX_CTimeOfDay*) const override { return 0; }
        AAX_Result SetSignalLatency (int32_t) override { return 0; }
        AAX_Result SetCycleCount (AAX_EProperty*, AAX_CPropertyValue*, int32_t) override { return 0; }
        AAX_Result SendNotification (AAX_CTypeID, const void*, uint32_t) override { return 0; }
        AAX_Result SendNotification (AAX_CTypeID) override { return 0; }
        AAX_Result GetCurrentMeterValue (AAX_CTypeID, float*) const override { return 0; }
        AAX_Result GetMeterPeakValue (AAX_CTypeID, float*) const override { return 0; }
        AAX_Result ClearMeterPeakValue (AAX_CTypeID) const override { return 0; }
        AAX_Result GetMeterCount (uint32_t*) const override { return 0; }
        AAX_Result GetMeterClipped (AAX_CTypeID, AAX_CBoolean*) const override { return 0; }
        AAX_Result ClearMeterClipped (AAX_CTypeID) const override { return 0; }
        AAX_Result GetNextMIDIPacket (AAX_CFieldIndex*, AAX_CMidiPacket*) override { return 0; }
        AAX_Result GetHybridSignalLatency (int32_t*) const override { return 0; }
        AAX_Result GetCurrentAutomationTimestamp (AAX_CTransportCounter*) const override { return 0; }
        AAX_Result GetHostName (AAX_IString*) const override { return 0; }
        AAX_Result GetPlugInTargetPlatform (AAX_ETargetPlatform*) const override { return 0; }
        AAX_Result GetIsAudioSuite (AAX_CBoolean*) const override { return 0; }
        AAX_IPageTable* CreateTableCopyForEffect (AAX_CPropertyValue, AAX_CPropertyValue, AAX_CPropertyValue, uint32_t, int32_t) const override { return nullptr; }
        AAX_IPageTable* CreateTableCopyForLayout (const char*, const char*, uint32_t, int32_t) const override { return nullptr; }
        AAX_IPageTable* CreateTableCopyForEffectFromFile (const char*, int32_t, AAX_CPropertyValue, AAX_CPropertyValue, AAX_CPropertyValue, uint32_t, int32_t) const override { return nullptr; }
        AAX_IPageTable* CreateTableCopyForLayoutFromFile (const char*, int32_t, const char*, uint32_t, int32_t) const override { return nullptr; }
    };

    //==========================================================================
    /** Records every call as one line of text, e.g. "set gain 0.25". */
    class RecordingAutomationDelegate : public AAX_IAutomationDelegate
    {
    public:
        mutable std::vector<std::string> calls;

        AAX_Result RegisterParameter (AAX_CParamID id) override;
        AAX_Result UnregisterParameter (AAX_CParamID id) override;
        AAX_Result PostSetValueRequest (AAX_CParamID id, double value) const override;
        AAX_Result PostCurrentValue (AAX_CParamID id, double value) const override;
        AAX_Result PostTouchRequest (AAX_CParamID id) override;
        AAX_Result PostReleaseRequest (AAX_CParamID id) override;
        AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* touched) override;
    };

    //==========================================================================
    /**
        The controller unknown a host hands to an effect's Initialize. It
        answers the controller (version 1) and automation-delegate interfaces;
        posted packets and automation calls are recorded, and set requests
        are answered by the effect's UpdateParameterNormalizedValue once an
        effect is attached.
    */
    class FakeControllerHost
    {
    public:
        FakeControllerHost();
        ~FakeControllerHost();

        IACFUnknown* Unknown();
        void AttachEffect (AAX_IACFEffectParameters* effect);

        std::vector<PostedPacket>& Posted();
        std::vector<std::string>& AutomationCalls();

        /** References the library holds on the host's objects right now. */
        int32_t OutstandingReferences() const;

    private:
        class Controller;
        class Automation;
        Controller* mController;
        Automation* mAutomation;
    };

    /** Text of a double as the recording fakes write it. */
    std::string FormatValue (double value);
}

namespace chunk_support
{
    class ChunkBuffer
    {
    public:
        /** A chunk with room for dataCapacity bytes, fSize set to it. */
        explicit ChunkBuffer (int32_t dataCapacity)
            : mBlock (new uint8_t[kAAX_SPlugInChunkHeaderSize + static_cast<size_t> (dataCapacity > 0 ? dataCapacity : 0)]),
              mCapacity (dataCapacity > 0 ? dataCapacity : 0)
        {
            std::memset (mBlock.get(), 0, kAAX_SPlugInChunkHeaderSize + static_cast<size_t> (mCapacity));
            Get()->fSize = mCapacity;
        }

        /** A chunk holding exactly these data bytes. */
        explicit ChunkBuffer (const std::vector<uint8_t>& data)
            : ChunkBuffer (static_cast<int32_t> (data.size()))
        {
            if (! data.empty())
                std::memcpy (Get()->fData, data.data(), data.size());
        }

        AAX_SPlugInChunk* Get() { return reinterpret_cast<AAX_SPlugInChunk*> (mBlock.get()); }
        int32_t Capacity() const { return mCapacity; }

        std::vector<uint8_t> Data()
        {
            const int32_t size = Get()->fSize < mCapacity ? Get()->fSize : mCapacity;
            const auto* bytes = reinterpret_cast<const uint8_t*> (Get()->fData);
            return std::vector<uint8_t> (bytes, bytes + (size > 0 ? size : 0));
        }

    private:
        std::unique_ptr<uint8_t[]> mBlock;
        int32_t mCapacity;
    };

    inline void Append (std::vector<uint8_t>& bytes, const char* text, size_t count)
    {
        bytes.insert (bytes.end(), text, text + count);
    }

    inline void Append (std::vector<uint8_t>& bytes, std::initializer_list<uint8_t> values)
    {
        bytes.insert (bytes.end(), values);
    }
}
