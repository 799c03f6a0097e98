// The host objects of one effect instance: the controller (versions 1 to 5)
// whose unknown also answers the automation delegate, the transport
// (versions 1 and 2), the host's component factory and the instance's
// effect-parameters interface (for the GUI object); and the view container
// (versions 1 and 2) the host hands the GUI when it opens the window.
#pragma once

#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFController.h"
#include "AAX_IACFEffectParameters.h"
#include "AAX_IACFTransport.h"
#include "AAX_IACFViewContainer.h"
#include "HostObject.h"
#include "IACFComponentFactory.h"
#include "InterfaceVersions.h"
#include "ObjectRegistry.h"
#include "PacketMailbox.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace zelkhost
{
    struct PostedPacket
    {
        AAX_CFieldIndex field = 0;
        std::vector<unsigned char> payload;
    };

    /** Answers the plug-in's automation requests as a host does: a set-value
        request is answered at once by the effect's UpdateParameterNormalizedValue. */
    class HostAutomationDelegate final : public HostObject<AAX_IACFAutomationDelegate>
    {
    public:
        HostAutomationDelegate();

        /** The effect that set-value requests are answered on (null: requests are only recorded). */
        void setEffect (AAX_IACFEffectParameters* effect) noexcept { mEffect.store (effect); }

        AAX_Result RegisterControl (AAX_CParamID id) override;
        AAX_Result UnregisterControl (AAX_CParamID id) override;
        AAX_Result PostSetValueRequest (AAX_CParamID id, double normalizedValue) override;
        AAX_Result PostCurrentValue (AAX_CParamID id, double normalizedValue) override;
        AAX_Result PostTouchRequest (AAX_CParamID id) override;
        AAX_Result PostReleaseRequest (AAX_CParamID id) override;
        AAX_Result GetTouchState (AAX_CParamID id, AAX_CBoolean* touched) override;

        std::set<std::string> registeredParameters() const;
        int setValueRequests() const;
        /** Set requests and posted current values: parameter ID and value, in
            order (recorded while callRecordsKept, as are packets, notifications
            and view sizes below). */
        using ValuePosts = std::vector<std::pair<std::string, double>>;
        ValuePosts setRequests() const;
        std::vector<double> setRequestsFor (const std::string& id) const;
        std::vector<double> currentValuesFor (const std::string& id) const;
        /** Forgets the requests, posted values and call lines (the registrations stay). */
        void clearRequests();
        int touchRequests() const;
        int releaseRequests() const;
        bool isTouched (const std::string& id) const;
        /** The last value the plug-in reported for a parameter, if any. */
        bool currentValue (const std::string& id, double& value) const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        std::atomic<AAX_IACFEffectParameters*> mEffect { nullptr };
        mutable std::mutex mLock;
        std::set<std::string> mRegistered, mTouched;
        std::vector<double> valuesFor (const ValuePosts& posts, const std::string& id) const;

        ValuePosts mSetRequests, mCurrentValuePosts;
        int mTouchRequests = 0, mReleaseRequests = 0;
    };

    /** A stopped transport at 120 BPM in 4/4. The versions it answers are
        read from the options it is given at each query. */
    class HostTransport final : public HostObject<AAX_IACFTransport_V2>
    {
    public:
        explicit HostTransport (const InstanceOptions& options);

        AAX_Result GetCurrentTempo (double* tempo) const override;
        AAX_Result GetCurrentMeter (int32_t* numerator, int32_t* denominator) const override;
        AAX_Result IsTransportPlaying (bool* playing) const override;
        AAX_Result GetCurrentTickPosition (int64_t* ticks) const override;
        AAX_Result GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) const override;
        AAX_Result GetCurrentNativeSampleLocation (int64_t* sampleLocation) const override;
        AAX_Result GetCustomTickPosition (int64_t* ticks, int64_t sampleLocation) const override;
        AAX_Result GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t sampleLocation) const override;
        AAX_Result GetTicksPerQuarter (uint32_t* ticks) const override;
        AAX_Result GetCurrentTicksPerBeat (uint32_t* ticks) const override;
        AAX_Result GetTimelineSelectionStartPosition (int64_t* sampleLocation) const override;
        AAX_Result GetTimeCodeInfo (AAX_EFrameRate* frameRate, int32_t* offset) const override;
        AAX_Result GetFeetFramesInfo (AAX_EFeetFramesRate* rate, int64_t* offset) const override;
        AAX_Result IsMetronomeEnabled (int32_t* enabled) const override;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        const InstanceOptions& mOptions;
    };

    /** The controller unknown of one instance. */
    class HostController final : public HostObject<AAX_IACFController_V5>
    {
    public:
        HostController (const InstanceOptions& options, ObjectRegistry& registry, IACFComponentFactory& factory,
                        std::string effectID, AAX_EStemFormat inputStemFormat, AAX_EStemFormat outputStemFormat);

        /** What it offers; may be changed between the plug-in's queries. */
        InstanceOptions& options() noexcept { return mOptions; }
        HostAutomationDelegate& automation() noexcept { return mAutomation; }
        HostTransport& transport() noexcept { return mTransport; }
        std::vector<const HostObjectBase*> parts() const override { return { &mAutomation, &mTransport }; }

        /** The effect-parameters interface the GUI object asks this unknown for. */
        void setEffect (AAX_IACFEffectParameters* effect) noexcept;

        /** Where packets posted for a field go on to the audio thread. */
        void routePackets (AAX_CFieldIndex field, PacketMailbox* mailbox);

        /** What the plug-in posted and sent, in order (while callRecordsKept). */
        std::vector<PostedPacket> postedPackets() const;
        std::vector<std::pair<AAX_CTypeID, std::vector<unsigned char>>> notifications() const;
        int32_t signalLatency() const;
        /** Forgets posted packets, notifications and logged calls, its parts' included. */
        void clearRecords();

        // Version 1
        AAX_Result GetEffectID (AAX_IString* effectID) const override;
        AAX_Result GetEPOCHSampleRate (AAX_CSampleRate* sampleRate) const override;
        AAX_Result GetEPOCHInputStemFormat (AAX_EStemFormat* stemFormat) const override;
        AAX_Result GetEPOCHOutputStemFormat (AAX_EStemFormat* stemFormat) const override;
        AAX_Result GetSignalLatency (int32_t* samples) const override;
        AAX_Result GetCycleCount (AAX_EProperty which, AAX_CPropertyValue* value) const override;
        AAX_Result GetTODLocation (AAX_CTimeOfDay* location) const override;
        AAX_Result SetSignalLatency (int32_t samples) override;
        AAX_Result SetCycleCount (AAX_EProperty* which, AAX_CPropertyValue* values, int32_t count) override;
        AAX_Result PostPacket (AAX_CFieldIndex field, const void* payload, uint32_t size) override;
        AAX_Result GetCurrentMeterValue (AAX_CTypeID meterID, float* value) const override;
        AAX_Result GetMeterPeakValue (AAX_CTypeID meterID, float* value) const override;
        AAX_Result ClearMeterPeakValue (AAX_CTypeID meterID) const override;
        AAX_Result GetMeterCount (uint32_t* count) const override;
        AAX_Result GetMeterClipped (AAX_CTypeID meterID, AAX_CBoolean* clipped) const override;
        AAX_Result ClearMeterClipped (AAX_CTypeID meterID) const override;
        AAX_Result GetNextMIDIPacket (AAX_CFieldIndex* port, AAX_CMidiPacket* packet) override;
        // Version 2
        AAX_Result SendNotification (AAX_CTypeID type, const void* data, uint32_t size) override;
        AAX_Result GetHybridSignalLatency (int32_t* samples) const override;
        AAX_Result GetCurrentAutomationTimestamp (AAX_CTransportCounter* timestamp) const override;
        AAX_Result GetHostName (AAX_IString* name) const override;
        // Version 3
        AAX_Result GetPlugInTargetPlatform (AAX_ETargetPlatform* platform) const override;
        AAX_Result GetIsAudioSuite (AAX_CBoolean* isAudioSuite) const override;
        // Versions 4 and 5: the table is filled with the effect's parameters, page by page
        AAX_Result CreateTableCopyForEffect (AAX_CPropertyValue manufacturerID, AAX_CPropertyValue productID, AAX_CPropertyValue plugInID,
                                             uint32_t tableType, int32_t pageSize, IACFUnknown* pageTable) const override;
        AAX_Result CreateTableCopyForLayout (const char* effectID, const char* layoutName, uint32_t tableType, int32_t pageSize,
                                             IACFUnknown* pageTable) const override;
        AAX_Result CreateTableCopyForEffectFromFile (const char* path, int32_t encoding, AAX_CPropertyValue manufacturerID,
                                                     AAX_CPropertyValue productID, AAX_CPropertyValue plugInID, uint32_t tableType,
                                                     int32_t pageSize, IACFUnknown* pageTable) const override;
        AAX_Result CreateTableCopyForLayoutFromFile (const char* path, int32_t encoding, const char* layoutName, uint32_t tableType,
                                                     int32_t pageSize, IACFUnknown* pageTable) const override;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        AAX_Result fillPageTable (int32_t pageSize, IACFUnknown* pageTable) const;

        InstanceOptions mOptions;
        ObjectRegistry& mRegistry;
        IACFComponentFactory& mFactory;
        const std::string mEffectID;
        const AAX_EStemFormat mInputStemFormat, mOutputStemFormat;
        HostAutomationDelegate mAutomation;
        HostTransport mTransport;
        std::atomic<AAX_IACFEffectParameters*> mEffect { nullptr };

        mutable std::mutex mLock;
        std::map<AAX_CFieldIndex, PacketMailbox*> mMailboxes;
        std::vector<PostedPacket> mPostedPackets;
        std::vector<std::pair<AAX_CTypeID, std::vector<unsigned char>>> mNotifications;
        int32_t mSignalLatency = 0;
    };

    /** The window the host opens for the plug-in: it reports the native view
        its options name (by default none: the null type and a null pointer). */
    class HostViewContainer final : public HostObject<AAX_IACFViewContainer_V2>
    {
    public:
        explicit HostViewContainer (const InstanceOptions& options);

        int32_t GetType() override;
        void* GetPtr() override;
        AAX_Result GetModifiers (uint32_t* modifiers) override;
        AAX_Result SetViewSize (AAX_Point& size) override;
        AAX_Result HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers) override;
        AAX_Result HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers) override;
        AAX_Result HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers) override;
        AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;
        AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;
        AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* ids, uint32_t count, uint32_t modifiers) override;

        /** Sizes the plug-in asked for, in order (while callRecordsKept). */
        std::vector<AAX_Point> requestedSizes() const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        AAX_Result gesture (const std::string& call, uint32_t modifiers);

        const InstanceOptions mOptions;
        mutable std::mutex mLock;
        std::vector<AAX_Point> mRequestedSizes;
    };
}
