#include "InstanceObjects.h"

#include "AAX_Errors.h"
#include "AAX_IString.h"
#include "HostString.h"
#include "PageTable.h"

#include <cstdio>
#include <cstring>

namespace zelkhost
{
    namespace
    {
        template <typename Value>
        AAX_Result answer (Value* out, Value value)
        {
            if (out == nullptr)
                return AAX_ERROR_NULL_ARGUMENT;
            *out = value;
            return AAX_SUCCESS;
        }

        constexpr AAX_EUpdateSource updateSourceUnspecified = 0;

        std::string valueCall (const char* what, AAX_CParamID id, double value)
        {
            char number[32];
            std::snprintf (number, sizeof (number), "%g", value);
            return std::string (what) + " " + argumentText (id) + " " + number;
        }
    }

    // =======================================================================
    HostAutomationDelegate::HostAutomationDelegate() : HostObject ("automation delegate") {}

    AAX_Result HostAutomationDelegate::RegisterControl (AAX_CParamID id)
    {
        logCall ("register " + argumentText (id));
        if (id == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        mRegistered.insert (id);
        return AAX_SUCCESS;
    }

    AAX_Result HostAutomationDelegate::UnregisterControl (AAX_CParamID id)
    {
        logCall ("unregister " + argumentText (id));
        if (id == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        mRegistered.erase (id);
        return AAX_SUCCESS;
    }

    AAX_Result HostAutomationDelegate::PostSetValueRequest (AAX_CParamID id, double normalizedValue)
    {
        logCall (valueCall ("set", id, normalizedValue));
        if (id == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        {
            const std::lock_guard<std::mutex> guard (mLock);
            if (callRecordsKept.load (std::memory_order_relaxed))
                mSetRequests.emplace_back (id, normalizedValue);
        }

        // Answered without holding the lock: the effect reports the new value
        // back through PostCurrentValue while it handles the update.
        if (auto* effect = mEffect.load())
            return effect->UpdateParameterNormalizedValue (id, normalizedValue, updateSourceUnspecified);
        return AAX_SUCCESS;
    }

    AAX_Result HostAutomationDelegate::PostCurrentValue (AAX_CParamID id, double normalizedValue)
    {
        logCall (valueCall ("current", id, normalizedValue));
        if (id == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        if (callRecordsKept.load (std::memory_order_relaxed))
            mCurrentValuePosts.emplace_back (id, normalizedValue);
        return AAX_SUCCESS;
    }

    AAX_Result HostAutomationDelegate::PostTouchRequest (AAX_CParamID id)
    {
        logCall ("touch " + argumentText (id));
        if (id == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        ++mTouchRequests;
        mTouched.insert (id);
        return AAX_SUCCESS;
    }

    AAX_Result HostAutomationDelegate::PostReleaseRequest (AAX_CParamID id)
    {
        logCall ("release " + argumentText (id));
        if (id == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        ++mReleaseRequests;
        mTouched.erase (id);
        return AAX_SUCCESS;
    }

    AAX_Result HostAutomationDelegate::GetTouchState (AAX_CParamID id, AAX_CBoolean* touched)
    {
        if (id == nullptr || touched == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *touched = isTouched (id) ? 1 : 0;
        return AAX_SUCCESS;
    }

    std::set<std::string> HostAutomationDelegate::registeredParameters() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mRegistered;
    }

    int HostAutomationDelegate::setValueRequests() const { const std::lock_guard<std::mutex> guard (mLock); return static_cast<int> (mSetRequests.size()); }

    std::vector<double> HostAutomationDelegate::valuesFor (const ValuePosts& posts, const std::string& id) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        std::vector<double> values;
        for (const auto& post : posts)
            if (post.first == id)
                values.push_back (post.second);
        return values;
    }

    HostAutomationDelegate::ValuePosts HostAutomationDelegate::setRequests() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mSetRequests;
    }

    std::vector<double> HostAutomationDelegate::setRequestsFor (const std::string& id) const     { return valuesFor (mSetRequests, id); }
    std::vector<double> HostAutomationDelegate::currentValuesFor (const std::string& id) const   { return valuesFor (mCurrentValuePosts, id); }

    void HostAutomationDelegate::clearRequests()
    {
        clearCalls();
        const std::lock_guard<std::mutex> guard (mLock);
        mSetRequests.clear();
        mCurrentValuePosts.clear();
        mTouchRequests = mReleaseRequests = 0;
    }

    int HostAutomationDelegate::touchRequests() const    { const std::lock_guard<std::mutex> guard (mLock); return mTouchRequests; }
    int HostAutomationDelegate::releaseRequests() const  { const std::lock_guard<std::mutex> guard (mLock); return mReleaseRequests; }

    bool HostAutomationDelegate::isTouched (const std::string& id) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mTouched.count (id) != 0;
    }

    bool HostAutomationDelegate::currentValue (const std::string& id, double& value) const
    {
        const auto values = currentValuesFor (id);
        if (values.empty())
            return false;
        value = values.back();
        return true;
    }

    void* HostAutomationDelegate::answers (const acfIID& iid)
    {
        return iid == IID_IAAXAutomationDelegateV1 ? as<AAX_IACFAutomationDelegate>() : nullptr;
    }

    // =======================================================================
    HostTransport::HostTransport (const InstanceOptions& options) : HostObject ("transport"), mOptions (options) {}

    AAX_Result HostTransport::GetCurrentTempo (double* tempo) const                 { return answer (tempo, 120.0); }
    AAX_Result HostTransport::IsTransportPlaying (bool* playing) const              { return answer (playing, false); }
    AAX_Result HostTransport::GetCurrentTickPosition (int64_t* ticks) const         { return answer (ticks, int64_t { 0 }); }
    AAX_Result HostTransport::GetCurrentNativeSampleLocation (int64_t* location) const { return answer (location, int64_t { 0 }); }
    AAX_Result HostTransport::GetCustomTickPosition (int64_t* ticks, int64_t) const { return answer (ticks, int64_t { 0 }); }
    AAX_Result HostTransport::GetTicksPerQuarter (uint32_t* ticks) const            { return answer (ticks, uint32_t { 960000 }); }
    AAX_Result HostTransport::GetCurrentTicksPerBeat (uint32_t* ticks) const        { return answer (ticks, uint32_t { 960000 }); }
    AAX_Result HostTransport::GetTimelineSelectionStartPosition (int64_t* location) const { return answer (location, int64_t { 0 }); }
    AAX_Result HostTransport::IsMetronomeEnabled (int32_t* enabled) const           { return answer (enabled, int32_t { 0 }); }

    AAX_Result HostTransport::GetCurrentMeter (int32_t* numerator, int32_t* denominator) const
    {
        if (numerator == nullptr || denominator == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *numerator = 4;
        *denominator = 4;
        return AAX_SUCCESS;
    }

    AAX_Result HostTransport::GetCurrentLoopPosition (bool* looping, int64_t* startTick, int64_t* endTick) const
    {
        if (looping == nullptr || startTick == nullptr || endTick == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *looping = false;
        *startTick = *endTick = 0;
        return AAX_SUCCESS;
    }

    AAX_Result HostTransport::GetBarBeatPosition (int32_t* bars, int32_t* beats, int64_t* displayTicks, int64_t) const
    {
        if (bars == nullptr || beats == nullptr || displayTicks == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *bars = 1;
        *beats = 1;
        *displayTicks = 0;
        return AAX_SUCCESS;
    }

    AAX_Result HostTransport::GetTimeCodeInfo (AAX_EFrameRate* frameRate, int32_t* offset) const
    {
        if (frameRate == nullptr || offset == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *frameRate = 0;
        *offset = 0;
        return AAX_SUCCESS;
    }

    AAX_Result HostTransport::GetFeetFramesInfo (AAX_EFeetFramesRate* rate, int64_t* offset) const
    {
        if (rate == nullptr || offset == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        *rate = 0;
        *offset = 0;
        return AAX_SUCCESS;
    }

    void* HostTransport::answers (const acfIID& iid)
    {
        if (iid == IID_IAAXTransportV1 && offers (mOptions.transport, 1)) return as<AAX_IACFTransport>();
        if (iid == IID_IAAXTransportV2 && offers (mOptions.transport, 2)) return as<AAX_IACFTransport_V2>();
        return nullptr;
    }

    // =======================================================================
    HostController::HostController (const InstanceOptions& options, ObjectRegistry& registry, IACFComponentFactory& factory,
                                    std::string effectID, AAX_EStemFormat inputStemFormat, AAX_EStemFormat outputStemFormat)
        : HostObject ("controller"), mOptions (options), mRegistry (registry), mFactory (factory),
          mEffectID (std::move (effectID)), mInputStemFormat (inputStemFormat), mOutputStemFormat (outputStemFormat),
          mTransport (mOptions)
    {
    }

    void HostController::setEffect (AAX_IACFEffectParameters* effect) noexcept
    {
        mEffect.store (effect);
        mAutomation.setEffect (effect);
    }

    void HostController::routePackets (AAX_CFieldIndex field, PacketMailbox* mailbox)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        mMailboxes[field] = mailbox;
    }

    std::vector<PostedPacket> HostController::postedPackets() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mPostedPackets;
    }

    std::vector<std::pair<AAX_CTypeID, std::vector<unsigned char>>> HostController::notifications() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mNotifications;
    }

    int32_t HostController::signalLatency() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mSignalLatency;
    }

    void HostController::clearRecords()
    {
        clearCalls();
        mAutomation.clearRequests();
        const std::lock_guard<std::mutex> guard (mLock);
        mPostedPackets.clear();
        mNotifications.clear();
    }

    AAX_Result HostController::GetEffectID (AAX_IString* effectID) const
    {
        if (effectID == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        effectID->Set (mEffectID.c_str());
        return AAX_SUCCESS;
    }

    AAX_Result HostController::GetEPOCHSampleRate (AAX_CSampleRate* rate) const        { return answer (rate, mOptions.sampleRate); }
    AAX_Result HostController::GetEPOCHInputStemFormat (AAX_EStemFormat* format) const  { return answer (format, mInputStemFormat); }
    AAX_Result HostController::GetEPOCHOutputStemFormat (AAX_EStemFormat* format) const { return answer (format, mOutputStemFormat); }
    AAX_Result HostController::GetSignalLatency (int32_t* samples) const                { return answer (samples, signalLatency()); }
    AAX_Result HostController::GetCycleCount (AAX_EProperty, AAX_CPropertyValue* value) const { return answer (value, AAX_CPropertyValue { 0 }); }
    AAX_Result HostController::GetTODLocation (AAX_CTimeOfDay* location) const          { return answer (location, AAX_CTimeOfDay { 0 }); }

    AAX_Result HostController::SetSignalLatency (int32_t samples)
    {
        if (samples < 0)
            return AAX_ERROR_INVALID_ARGUMENT;
        const std::lock_guard<std::mutex> guard (mLock);
        mSignalLatency = samples;
        return AAX_SUCCESS;
    }

    AAX_Result HostController::SetCycleCount (AAX_EProperty*, AAX_CPropertyValue*, int32_t)
    {
        return AAX_SUCCESS;
    }

    AAX_Result HostController::PostPacket (AAX_CFieldIndex field, const void* payload, uint32_t size)
    {
        if (payload == nullptr && size > 0)
            return AAX_ERROR_NULL_ARGUMENT;

        PacketMailbox* mailbox = nullptr;
        {
            const std::lock_guard<std::mutex> guard (mLock);
            const auto* bytes = static_cast<const unsigned char*> (payload);
            if (callRecordsKept.load (std::memory_order_relaxed))
                mPostedPackets.push_back ({ field, std::vector<unsigned char> (bytes, bytes + size) });
            const auto found = mMailboxes.find (field);
            mailbox = found != mMailboxes.end() ? found->second : nullptr;
        }

        if (mOptions.postPacketResult != AAX_SUCCESS)
            return mOptions.postPacketResult;
        if (mailbox != nullptr)
            mailbox->post (payload, size);
        return AAX_SUCCESS;
    }

    AAX_Result HostController::GetCurrentMeterValue (AAX_CTypeID, float* value) const     { return answer (value, 0.0f); }
    AAX_Result HostController::GetMeterPeakValue (AAX_CTypeID, float* value) const        { return answer (value, 0.0f); }
    AAX_Result HostController::ClearMeterPeakValue (AAX_CTypeID) const                    { return AAX_SUCCESS; }
    AAX_Result HostController::GetMeterCount (uint32_t* count) const                      { return answer (count, uint32_t { 0 }); }
    AAX_Result HostController::GetMeterClipped (AAX_CTypeID, AAX_CBoolean* clipped) const { return answer (clipped, AAX_CBoolean { 0 }); }
    AAX_Result HostController::ClearMeterClipped (AAX_CTypeID) const                      { return AAX_SUCCESS; }
    AAX_Result HostController::GetNextMIDIPacket (AAX_CFieldIndex*, AAX_CMidiPacket*)     { return AAX_ERROR_NULL_OBJECT; } // no MIDI here

    AAX_Result HostController::SendNotification (AAX_CTypeID type, const void* data, uint32_t size)
    {
        if (data == nullptr && size > 0)
            return AAX_ERROR_NULL_ARGUMENT;
        const auto* bytes = static_cast<const unsigned char*> (data);
        const std::lock_guard<std::mutex> guard (mLock);
        if (callRecordsKept.load (std::memory_order_relaxed))
            mNotifications.emplace_back (type, std::vector<unsigned char> (bytes, bytes + size));
        return AAX_SUCCESS;
    }

    AAX_Result HostController::GetHybridSignalLatency (int32_t* samples) const                    { return answer (samples, int32_t { 0 }); }
    AAX_Result HostController::GetCurrentAutomationTimestamp (AAX_CTransportCounter* stamp) const { return answer (stamp, AAX_CTransportCounter { 0 }); }

    AAX_Result HostController::GetHostName (AAX_IString* name) const
    {
        if (name == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        name->Set ("ZELK stand-in host");
        return AAX_SUCCESS;
    }

    AAX_Result HostController::GetPlugInTargetPlatform (AAX_ETargetPlatform* platform) const { return answer (platform, AAX_ETargetPlatform { 1 }); } // native
    AAX_Result HostController::GetIsAudioSuite (AAX_CBoolean* isAudioSuite) const           { return answer (isAudioSuite, AAX_CBoolean { 0 }); }

    AAX_Result HostController::fillPageTable (int32_t pageSize, IACFUnknown* pageTable) const
    {
        if (mOptions.tableCopyResult != AAX_SUCCESS)
            return mOptions.tableCopyResult;
        auto* table = mRegistry.find<HostPageTable> (pageTable);
        if (table == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        if (pageSize < 1)
            return AAX_ERROR_INVALID_ARGUMENT;

        // Without an effect there is nothing to map: the copy is an empty table.
        auto* effect = mEffect.load();
        int32_t count = 0;
        if (effect != nullptr)
            if (const auto result = effect->GetNumberOfParameters (&count); result != AAX_SUCCESS)
                return result;

        table->Clear();
        for (int32_t index = 0; index < count; ++index)
        {
            HostString id;
            if (effect->GetParameterIDFromIndex (index, &id) == AAX_SUCCESS)
                table->MapParameterID (id.Get(), index / pageSize, index % pageSize);
        }
        return AAX_SUCCESS;
    }

    AAX_Result HostController::CreateTableCopyForEffect (AAX_CPropertyValue, AAX_CPropertyValue, AAX_CPropertyValue,
                                                         uint32_t, int32_t pageSize, IACFUnknown* pageTable) const
    {
        logCall ("CreateTableCopyForEffect");
        return fillPageTable (pageSize, pageTable);
    }

    AAX_Result HostController::CreateTableCopyForLayout (const char*, const char* layoutName, uint32_t, int32_t pageSize,
                                                         IACFUnknown* pageTable) const
    {
        logCall ("CreateTableCopyForLayout " + argumentText (layoutName));
        return fillPageTable (pageSize, pageTable);
    }

    AAX_Result HostController::CreateTableCopyForEffectFromFile (const char* path, int32_t, AAX_CPropertyValue, AAX_CPropertyValue,
                                                                 AAX_CPropertyValue, uint32_t, int32_t pageSize, IACFUnknown* pageTable) const
    {
        logCall ("CreateTableCopyForEffectFromFile " + argumentText (path));
        return path == nullptr ? AAX_ERROR_INVALID_PATH : fillPageTable (pageSize, pageTable);
    }

    AAX_Result HostController::CreateTableCopyForLayoutFromFile (const char* path, int32_t, const char*, uint32_t, int32_t pageSize,
                                                                 IACFUnknown* pageTable) const
    {
        logCall ("CreateTableCopyForLayoutFromFile " + argumentText (path));
        return path == nullptr ? AAX_ERROR_INVALID_PATH : fillPageTable (pageSize, pageTable);
    }

    void* HostController::answers (const acfIID& iid)
    {
        const auto versions = mOptions.controller;
        if (iid == IID_IAAXControllerV1 && offers (versions, 1)) return as<AAX_IACFController>();
        if (iid == IID_IAAXControllerV2 && offers (versions, 2)) return as<AAX_IACFController_V2>();
        if (iid == IID_IAAXControllerV3 && offers (versions, 3)) return as<AAX_IACFController_V3>();
        if (iid == IID_IAAXControllerV4 && offers (versions, 4)) return as<AAX_IACFController_V4>();
        if (iid == IID_IAAXControllerV5 && offers (versions, 5)) return as<AAX_IACFController_V5>();
        if (iid == IID_IAAXAutomationDelegateV1 && mOptions.automationDelegate)
            return static_cast<AAX_IACFAutomationDelegate*> (&mAutomation);
        if (iid == IID_IAAXTransportV1 && offers (mOptions.transport, 1)) return static_cast<AAX_IACFTransport*> (&mTransport);
        if (iid == IID_IAAXTransportV2 && offers (mOptions.transport, 2)) return static_cast<AAX_IACFTransport_V2*> (&mTransport);
        if (iid == IID_IACFComponentFactory && mOptions.componentFactory)
            return &mFactory;
        if (iid == IID_IAAXEffectParametersV1)
            return mEffect.load();
        return nullptr;
    }

    // =======================================================================
    HostViewContainer::HostViewContainer (const InstanceOptions& options) : HostObject ("view container"), mOptions (options) {}

    int32_t HostViewContainer::GetType() { return mOptions.viewType; }
    void* HostViewContainer::GetPtr()    { return mOptions.nativeView; }

    AAX_Result HostViewContainer::GetModifiers (uint32_t* modifiers) { return answer (modifiers, uint32_t { 0 }); }

    AAX_Result HostViewContainer::SetViewSize (AAX_Point& size)
    {
        const std::lock_guard<std::mutex> guard (mLock);
        if (callRecordsKept.load (std::memory_order_relaxed))
            mRequestedSizes.push_back (size);
        return AAX_SUCCESS;
    }

    AAX_Result HostViewContainer::gesture (const std::string& call, uint32_t modifiers)
    {
        logCall (call + " " + std::to_string (modifiers));
        return mOptions.gestureResult;
    }

    AAX_Result HostViewContainer::HandleParameterMouseDown (AAX_CParamID id, uint32_t modifiers) { return gesture ("Down " + argumentText (id), modifiers); }
    AAX_Result HostViewContainer::HandleParameterMouseDrag (AAX_CParamID id, uint32_t modifiers) { return gesture ("Drag " + argumentText (id), modifiers); }
    AAX_Result HostViewContainer::HandleParameterMouseUp (AAX_CParamID id, uint32_t modifiers)   { return gesture ("Up " + argumentText (id), modifiers); }

    AAX_Result HostViewContainer::HandleMultipleParametersMouseDown (const AAX_CParamID*, uint32_t count, uint32_t modifiers)
    {
        return gesture ("MultiDown " + std::to_string (count), modifiers);
    }

    AAX_Result HostViewContainer::HandleMultipleParametersMouseDrag (const AAX_CParamID*, uint32_t count, uint32_t modifiers)
    {
        return gesture ("MultiDrag " + std::to_string (count), modifiers);
    }

    AAX_Result HostViewContainer::HandleMultipleParametersMouseUp (const AAX_CParamID*, uint32_t count, uint32_t modifiers)
    {
        return gesture ("MultiUp " + std::to_string (count), modifiers);
    }

    std::vector<AAX_Point> HostViewContainer::requestedSizes() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mRequestedSizes;
    }

    void* HostViewContainer::answers (const acfIID& iid)
    {
        if (iid == IID_IAAXViewContainerV1 && offers (mOptions.viewContainer, 1)) return as<AAX_IACFViewContainer>();
        if (iid == IID_IAAXViewContainerV2 && offers (mOptions.viewContainer, 2)) return as<AAX_IACFViewContainer_V2>();
        return nullptr;
    }
}
