// A small in-process AAX host for the library's tests.
//
// FakeHost owns a host unknown, a component factory, and every host object
// the library asks it to make (host services, collection, descriptors,
// property maps, page tables). A FakeController stands for the controller
// unknown of one effect instance, with its automation delegate and
// transport; FakeViewContainer for a window's view. Each object records
// what the library told it, counts its references, and answers only the
// interface versions that HostOptions lets it offer, so the library's
// "missing version" paths can be driven from a test.
#pragma once

#include "AAX.h"
#include "AAX_Errors.h"
#include "AAX_IACFAutomationDelegate.h"
#include "AAX_IACFCollection.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IACFController.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IACFFeatureInfo.h"
#include "AAX_IACFHostServices.h"
#include "AAX_IACFPageTable.h"
#include "AAX_IACFPropertyMap.h"
#include "AAX_IACFTransport.h"
#include "AAX_IACFViewContainer.h"
#include "AAX_UIDs.h"
#include "IACFComponentFactory.h"
#include "IACFDefinition.h"
#include "IACFPluginDefinition.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class AAX_ICollection;

namespace fakehost
{
    // -----------------------------------------------------------------------
    // Versions offered: bit v set means version v is answered.

    using VersionSet = unsigned;
    constexpr VersionSet kNoVersions = 0;
    constexpr VersionSet upToVersion (int highest) { return highest <= 0 ? 0u : ((1u << (highest + 1)) - 2u); }
    constexpr VersionSet onlyVersion (int version) { return 1u << version; }
    constexpr bool offers (VersionSet set, int version) { return ((set >> version) & 1u) != 0; }

    struct HostOptions
    {
        bool componentFactory = true;        ///< host unknown answers the component factory
        bool pluginDefinition = true;        ///< host unknown answers the plug-in definition
        bool descriptionHost = true;         ///< host unknown answers the description host
        bool definition = true;              ///< host unknown answers the definition interface
        bool collection = true;              ///< factory makes collections
        bool featureInfo = true;             ///< description host answers feature requests
        bool propertyMapDescriptionHost = false; ///< property maps themselves answer the description host
        AAX_Result propertyRemovalResult = AAX_SUCCESS; ///< what new property maps answer to RemoveProperty

        VersionSet hostServices        = upToVersion (3);
        VersionSet effectDescriptor    = upToVersion (2);
        VersionSet componentDescriptor = upToVersion (2);  ///< no version 3: the library registers procedures itself
        VersionSet propertyMap         = upToVersion (2);  ///< no version 3: pointers stay local
        VersionSet pageTable           = upToVersion (2);
    };

    struct ControllerOptions
    {
        VersionSet controller = upToVersion (5);
        VersionSet transport = upToVersion (2);
        bool automationDelegate = true;
        bool componentFactory = true;        ///< controller answers the host's component factory
        AAX_Result tableCopyResult = AAX_SUCCESS;
        IACFUnknown* effectParameters = nullptr; ///< answered for the effect-parameters ID when set
    };

    struct TraceRecord
    {
        int32_t priority;
        std::string message;
    };

    struct AssertRecord
    {
        std::string file;
        int32_t line;
        std::string note;
        int32_t flags;
    };

    // -----------------------------------------------------------------------
    // Reference counting shared by every fake host object.

    class RefCounted
    {
    public:
        virtual ~RefCounted() = default;

        int references = 0;
        int overReleases = 0;
        std::string name;
    };

    /** Where a QueryInterface answer points, and which object it counts on. */
    struct Answer
    {
        void* pointer = nullptr;
        IACFUnknown* object = nullptr;
    };

    template <typename Interface>
    Answer answerWith (Interface* object)
    {
        return { static_cast<void*> (object), object };
    }

    template <typename Interface>
    class FakeObject : public Interface, public RefCounted
    {
    public:
        acfResult QueryInterface (const acfIID& iid, void** out) override
        {
            if (out == nullptr)
                return ACF_E_NOINTERFACE;

            *out = nullptr;
            const Answer answer = iid == IID_IACFUnknown ? answerWith<IACFUnknown> (this) : Answers (iid);
            if (answer.object == nullptr)
                return ACF_E_NOINTERFACE;

            answer.object->AddRef();
            *out = answer.pointer;
            return ACF_OK;
        }

        acfUInt32 AddRef() override { return static_cast<acfUInt32> (++references); }

        acfUInt32 Release() override
        {
            if (references <= 0)
            {
                ++overReleases;
                return 0;
            }
            return static_cast<acfUInt32> (--references);
        }

    protected:
        virtual Answer Answers (const acfIID& iid) = 0;
    };

    class FakeHost;

    // -----------------------------------------------------------------------
    // Host services

    class FakeHostServices : public FakeObject<AAX_IACFHostServices_V3>
    {
    public:
        FakeHostServices (FakeHost& host) : mHost (host) { name = "host services"; }

        AAX_Result Assert (const char* iFile, int32_t iLine, const char* iNote) override;
        AAX_Result Trace (int32_t iPriority, const char* iMessage) override;
        AAX_Result StackTrace (int32_t iTracePriority, int32_t iStackTracePriority, const char* iMessage) override;
        AAX_Result HandleAssertFailure (const char* iFile, int32_t iLine, const char* iNote, int32_t iFlags) override;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    // -----------------------------------------------------------------------
    // Description objects

    class FakePropertyMap : public FakeObject<AAX_IACFPropertyMap_V3>
    {
    public:
        FakePropertyMap (FakeHost& host);

        AAX_CBoolean GetProperty (AAX_EProperty inProperty, AAX_CPropertyValue* outValue) const override;
        AAX_Result AddProperty (AAX_EProperty inProperty, AAX_CPropertyValue inValue) override;
        AAX_Result RemoveProperty (AAX_EProperty inProperty) override;
        AAX_Result AddPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad* inPluginIDs, uint32_t inNumPluginIDs) override;
        AAX_CBoolean GetPropertyWithIDArray (AAX_EProperty inProperty, const AAX_SPlugInIdentifierTriad** outPluginIDs, uint32_t* outNumPluginIDs) const override;
        AAX_CBoolean GetPointerProperty (AAX_EProperty inProperty, const void** outValue) const override;
        AAX_Result AddPointerProperty (AAX_EProperty inProperty, const void* inValue) override;

        std::map<AAX_EProperty, AAX_CPropertyValue> values;
        std::map<AAX_EProperty, const void*> pointers;
        std::map<AAX_EProperty, std::vector<AAX_SPlugInIdentifierTriad>> idArrays;
        int addPropertyCalls = 0;
        AAX_Result removeResult = AAX_SUCCESS;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeCollection : public FakeObject<AAX_IACFCollection>
    {
    public:
        FakeCollection() { name = "collection"; }

        AAX_Result AddEffect (const char* inEffectID, IACFUnknown* inEffectDescriptor) override;
        AAX_Result SetManufacturerName (const char* inPackageName) override;
        AAX_Result AddPackageName (const char* inPackageName) override;
        AAX_Result SetPackageVersion (uint32_t inVersion) override;
        AAX_Result SetProperties (IACFUnknown* inProperties) override;

        std::vector<std::pair<std::string, IACFUnknown*>> effects;
        std::string manufacturer;
        std::vector<std::string> packageNames;
        uint32_t packageVersion = 0;
        std::vector<IACFUnknown*> properties;

    protected:
        Answer Answers (const acfIID& iid) override;
    };

    class FakeEffectDescriptor : public FakeObject<AAX_IACFEffectDescriptor_V2>
    {
    public:
        FakeEffectDescriptor (FakeHost& host) : mHost (host) { name = "effect descriptor"; }

        AAX_Result AddComponent (IACFUnknown* inComponentDescriptor) override;
        AAX_Result AddName (const char* inPlugInName) override;
        AAX_Result AddCategory (uint32_t inCategory) override;
        AAX_Result AddCategoryBypassParameter (uint32_t inCategory, AAX_CParamID inParamID) override;
        AAX_Result AddProcPtr (void* inProcPtr, AAX_CProcPtrID inProcID) override;
        AAX_Result SetProperties (IACFUnknown* inProperties) override;
        AAX_Result AddResourceInfo (AAX_EResourceType inResourceType, const char* inInfo) override;
        AAX_Result AddMeterDescription (AAX_CTypeID inMeterID, const char* inMeterName, IACFUnknown* inProperties) override;
        AAX_Result AddControlMIDINode (AAX_CTypeID inNodeID, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask) override;

        std::vector<IACFUnknown*> components;
        std::vector<std::string> names;
        std::vector<uint32_t> categories;
        std::vector<std::string> calls;
        std::vector<IACFUnknown*> properties;
        std::vector<IACFUnknown*> meterProperties;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeComponentDescriptor : public FakeObject<AAX_IACFComponentDescriptor_V3>
    {
    public:
        FakeComponentDescriptor (FakeHost& host) : mHost (host) { name = "component descriptor"; }

        AAX_Result Clear() override;
        AAX_Result AddAudioIn (AAX_CFieldIndex inFieldIndex) override;
        AAX_Result AddAudioOut (AAX_CFieldIndex inFieldIndex) override;
        AAX_Result AddAudioBufferLength (AAX_CFieldIndex inFieldIndex) override;
        AAX_Result AddSampleRate (AAX_CFieldIndex inFieldIndex) override;
        AAX_Result AddClock (AAX_CFieldIndex inFieldIndex) override;
        AAX_Result AddSideChainIn (AAX_CFieldIndex inFieldIndex) override;
        AAX_Result AddPrivateData (AAX_CFieldIndex inFieldIndex, int32_t inDataSize, uint32_t inOptions) override;
        AAX_Result AddAuxOutputStem (AAX_CFieldIndex inFieldIndex, int32_t inStemFormat, const char inNameUTF8[]) override;
        AAX_Result AddDataInPort (AAX_CFieldIndex inFieldIndex, uint32_t inPacketSize, AAX_EDataInPortType inPortType) override;
        AAX_Result AddDmaInstance (AAX_CFieldIndex inFieldIndex, AAX_EDmaMode inDmaMode) override;
        AAX_Result AddMeters (AAX_CFieldIndex inFieldIndex, const AAX_CTypeID* inMeterIDs, uint32_t inMeterCount) override;
        AAX_Result AddMIDINode (AAX_CFieldIndex inFieldIndex, AAX_EMIDINodeType inNodeType, const char inNodeName[], uint32_t inChannelMask) override;
        AAX_Result AddReservedField (AAX_CFieldIndex inFieldIndex, uint32_t inFieldType) override;
        AAX_Result AddProcessProc_Native (AAX_CProcessProc inProcessProc, IACFUnknown* inProperties,
                                          AAX_CInstanceInitProc inInstanceInitProc, AAX_CBackgroundProc inBackgroundProc,
                                          AAX_CSelector* outProcID) override;
        AAX_Result AddProcessProc_TI (const char inDLLFileNameUTF8[], const char inProcessProcSymbol[], IACFUnknown* inProperties,
                                      const char inInstanceInitProcSymbol[], const char inBackgroundProcSymbol[],
                                      AAX_CSelector* outProcID) override;
        AAX_Result AddTemporaryData (AAX_CFieldIndex inFieldIndex, uint32_t inDataElementSize) override;
        AAX_Result AddProcessProc (IACFUnknown* inProperties, AAX_CSelector* outProcIDs, int32_t inProcIDsSize) override;

        struct NativeRegistration
        {
            AAX_CProcessProc process;
            IACFUnknown* properties;
            AAX_CInstanceInitProc instanceInit;
            AAX_CBackgroundProc background;
        };

        struct TIRegistration
        {
            std::string dllName, processSymbol, instanceInitSymbol, backgroundSymbol;
            IACFUnknown* properties;
        };

        std::vector<std::string> fields;
        std::vector<NativeRegistration> nativeRegistrations;
        std::vector<TIRegistration> tiRegistrations;
        std::vector<int32_t> processProcCapacities;   ///< calls of the version-3 AddProcessProc
        AAX_Result registrationResult = AAX_SUCCESS;
        AAX_CSelector nextProcID = 101;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeFeatureInfo : public FakeObject<AAX_IACFFeatureInfo>
    {
    public:
        FakeFeatureInfo (FakeHost& host) : mHost (host) { name = "feature info"; }

        AAX_Result SupportLevel (AAX_ESupportLevel* outSupportLevel) const override;
        AAX_Result AcquireProperties (IACFUnknown** outProperties) override;

        AAX_ESupportLevel supportLevel = 2;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeDescriptionHost : public FakeObject<AAX_IACFDescriptionHost>
    {
    public:
        FakeDescriptionHost (FakeHost& host) : mHost (host) { name = "description host"; }

        AAX_Result AcquireFeatureProperties (const AAX_Feature_UID& inFeatureID, IACFUnknown** outFeatureProperties) override;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeDefinition : public FakeObject<IACFDefinition>
    {
    public:
        FakeDefinition() { name = "definition"; }
        acfResult GetAttribute (const acfUID&, acfUInt32, void*) override { return ACF_E_NOINTERFACE; }

    protected:
        Answer Answers (const acfIID& iid) override;
    };

    class FakePluginDefinition : public FakeObject<IACFPluginDefinition>
    {
    public:
        FakePluginDefinition() { name = "plug-in definition"; }
        acfResult InitializePlugin (IACFUnknown*) override { return ACF_OK; }

    protected:
        Answer Answers (const acfIID& iid) override;
    };

    class FakeComponentFactory : public FakeObject<IACFComponentFactory>
    {
    public:
        FakeComponentFactory (FakeHost& host) : mHost (host) { name = "component factory"; }

        acfResult CreateComponent (const acfCLSID& clsid, IACFUnknown* pUnknownOuter, const acfIID& iid, void** ppOut) override;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeHostUnknown : public FakeObject<IACFUnknown>
    {
    public:
        FakeHostUnknown (FakeHost& host) : mHost (host) { name = "host unknown"; }

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    // -----------------------------------------------------------------------
    // Page tables, view containers and the controller of an instance

    class FakePageTable : public FakeObject<AAX_IACFPageTable_V2>
    {
    public:
        FakePageTable (FakeHost& host) : mHost (host) { name = "page table"; }

        AAX_Result Clear() override;
        AAX_Result Empty (AAX_CBoolean& outEmpty) const override;
        AAX_Result GetNumPages (int32_t& outNumPages) const override;
        AAX_Result InsertPage (int32_t iPage) override;
        AAX_Result RemovePage (int32_t iPage) override;
        AAX_Result GetNumMappedParameterIDs (int32_t iPage, int32_t& outNumParameterIdentifiers) const override;
        AAX_Result ClearMappedParameter (int32_t iPage, int32_t iIndex) override;
        AAX_Result GetMappedParameterID (int32_t iPage, int32_t iIndex, AAX_IString& oParameterIdentifier) const override;
        AAX_Result MapParameterID (AAX_CParamID iParameterIdentifier, int32_t iPage, int32_t iIndex) override;
        AAX_Result GetNumParametersWithNameVariations (int32_t& oNumParameterIdentifiers) const override;
        AAX_Result GetNameVariationParameterIDAtIndex (int32_t iIndex, AAX_IString& oParameterIdentifier) const override;
        AAX_Result GetNumNameVariationsForParameter (AAX_CParamID iParameterIdentifier, int32_t& oNumVariations) const override;
        AAX_Result GetParameterNameVariationAtIndex (AAX_CParamID iParameterIdentifier, int32_t iIndex, AAX_IString& oNameVariation, int32_t& oLength) const override;
        AAX_Result GetParameterNameVariationOfLength (AAX_CParamID iParameterIdentifier, int32_t iLength, AAX_IString& oNameVariation) const override;
        AAX_Result ClearParameterNameVariations() override;
        AAX_Result ClearNameVariationsForParameter (AAX_CParamID iParameterIdentifier) override;
        AAX_Result SetParameterNameVariation (AAX_CParamID iParameterIdentifier, const AAX_IString& iNameVariation, int32_t iLength) override;

        int32_t pages = 0;
        std::vector<std::string> calls;
        std::string filledFrom;   ///< which controller copy filled it

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        FakeHost& mHost;
    };

    class FakeAutomationDelegate : public FakeObject<AAX_IACFAutomationDelegate>
    {
    public:
        FakeAutomationDelegate() { name = "automation delegate"; }

        AAX_Result RegisterControl (AAX_CParamID iParameterID) override;
        AAX_Result UnregisterControl (AAX_CParamID iParameterID) override;
        AAX_Result PostSetValueRequest (AAX_CParamID iParameterID, double normalizedValue) override;
        AAX_Result PostCurrentValue (AAX_CParamID iParameterID, double normalizedValue) override;
        AAX_Result PostTouchRequest (AAX_CParamID iParameterID) override;
        AAX_Result PostReleaseRequest (AAX_CParamID iParameterID) override;
        AAX_Result GetTouchState (AAX_CParamID iParameterID, AAX_CBoolean* outTouched) override;

        std::vector<std::string> calls;

    protected:
        Answer Answers (const acfIID& iid) override;
    };

    class FakeTransport : public FakeObject<AAX_IACFTransport_V2>
    {
    public:
        explicit FakeTransport (const ControllerOptions& options) : mOptions (options) { name = "transport"; }

        AAX_Result GetCurrentTempo (double* outTempo) const override;
        AAX_Result GetCurrentMeter (int32_t* outNumerator, int32_t* outDenominator) const override;
        AAX_Result IsTransportPlaying (bool* outIsPlaying) const override;
        AAX_Result GetCurrentTickPosition (int64_t* outTickPosition) const override;
        AAX_Result GetCurrentLoopPosition (bool* outLooping, int64_t* outLoopStartTick, int64_t* outLoopEndTick) const override;
        AAX_Result GetCurrentNativeSampleLocation (int64_t* outSampleLocation) const override;
        AAX_Result GetCustomTickPosition (int64_t* outTickPosition, int64_t inSampleLocation) const override;
        AAX_Result GetBarBeatPosition (int32_t* outBars, int32_t* outBeats, int64_t* outDisplayTicks, int64_t inSampleLocation) const override;
        AAX_Result GetTicksPerQuarter (uint32_t* outTicks) const override;
        AAX_Result GetCurrentTicksPerBeat (uint32_t* outTicks) const override;
        AAX_Result GetTimelineSelectionStartPosition (int64_t* outSampleLocation) const override;
        AAX_Result GetTimeCodeInfo (AAX_EFrameRate* outFrameRate, int32_t* outOffset) const override;
        AAX_Result GetFeetFramesInfo (AAX_EFeetFramesRate* outFeetFramesRate, int64_t* outOffset) const override;
        AAX_Result IsMetronomeEnabled (int32_t* outIsEnabled) const override;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        const ControllerOptions& mOptions;
    };

    /** The controller unknown of one effect instance. */
    class FakeController : public FakeObject<AAX_IACFController_V5>
    {
    public:
        FakeController (FakeHost& host, ControllerOptions options = {});

        AAX_Result GetEffectID (AAX_IString* outEffectID) const override;
        AAX_Result GetEPOCHSampleRate (AAX_CSampleRate* outSampleRate) const override;
        AAX_Result GetEPOCHInputStemFormat (AAX_EStemFormat* outStemFormat) const override;
        AAX_Result GetEPOCHOutputStemFormat (AAX_EStemFormat* outStemFormat) const override;
        AAX_Result GetSignalLatency (int32_t* outSamples) const override;
        AAX_Result GetCycleCount (AAX_EProperty inWhichCycleCount, AAX_CPropertyValue* outValue) const override;
        AAX_Result GetTODLocation (AAX_CTimeOfDay* outTODLocation) const override;
        AAX_Result SetSignalLatency (int32_t inNumSamples) override;
        AAX_Result SetCycleCount (AAX_EProperty* inWhichCycleCounts, AAX_CPropertyValue* iValues, int32_t numValues) override;
        AAX_Result PostPacket (AAX_CFieldIndex inFieldIndex, const void* inPayload, uint32_t inPayloadSize) override;
        AAX_Result GetCurrentMeterValue (AAX_CTypeID inMeterID, float* outMeterValue) const override;
        AAX_Result GetMeterPeakValue (AAX_CTypeID inMeterID, float* outMeterPeakValue) const override;
        AAX_Result ClearMeterPeakValue (AAX_CTypeID inMeterID) const override;
        AAX_Result GetMeterCount (uint32_t* outMeterCount) const override;
        AAX_Result GetMeterClipped (AAX_CTypeID inMeterID, AAX_CBoolean* outClipped) const override;
        AAX_Result ClearMeterClipped (AAX_CTypeID inMeterID) const override;
        AAX_Result GetNextMIDIPacket (AAX_CFieldIndex* outPort, AAX_CMidiPacket* outPacket) override;
        AAX_Result SendNotification (AAX_CTypeID inNotificationType, const void* inNotificationData, uint32_t inNotificationDataSize) override;
        AAX_Result GetHybridSignalLatency (int32_t* outSamples) const override;
        AAX_Result GetCurrentAutomationTimestamp (AAX_CTransportCounter* outTimestamp) const override;
        AAX_Result GetHostName (AAX_IString* outHostNameString) const override;
        AAX_Result GetPlugInTargetPlatform (AAX_ETargetPlatform* outTargetPlatform) const override;
        AAX_Result GetIsAudioSuite (AAX_CBoolean* outIsAudioSuite) const override;
        AAX_Result CreateTableCopyForEffect (AAX_CPropertyValue inManufacturerID, AAX_CPropertyValue inProductID, AAX_CPropertyValue inPlugInID,
                                             uint32_t inTableType, int32_t inTablePageSize, IACFUnknown* oPageTable) const override;
        AAX_Result CreateTableCopyForLayout (const char* inEffectID, const char* inLayoutName, uint32_t inTableType,
                                             int32_t inTablePageSize, IACFUnknown* oPageTable) const override;
        AAX_Result CreateTableCopyForEffectFromFile (const char* inPageTableFilePath, int32_t inFilePathEncoding,
                                                     AAX_CPropertyValue inManufacturerID, AAX_CPropertyValue inProductID, AAX_CPropertyValue inPlugInID,
                                                     uint32_t inTableType, int32_t inTablePageSize, IACFUnknown* oPageTable) const override;
        AAX_Result CreateTableCopyForLayoutFromFile (const char* inPageTableFilePath, int32_t inFilePathEncoding, const char* inLayoutName,
                                                     uint32_t inTableType, int32_t inTablePageSize, IACFUnknown* oPageTable) const override;

        struct Packet
        {
            AAX_CFieldIndex field;
            std::vector<uint8_t> data;
        };

        struct Notification
        {
            AAX_CTypeID type;
            const void* data;
            uint32_t size;
        };

        ControllerOptions options;
        FakeAutomationDelegate automation;
        FakeTransport transport;
        std::vector<Packet> packets;
        std::vector<Notification> notifications;
        int32_t latency = 0;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        AAX_Result FillTable (IACFUnknown* table, const std::string& source) const;

        FakeHost& mHost;
    };

    class FakeViewContainer : public FakeObject<AAX_IACFViewContainer_V2>
    {
    public:
        explicit FakeViewContainer (VersionSet versions = upToVersion (2)) : mVersions (versions) { name = "view container"; }

        int32_t GetType() override { return 1; }
        void* GetPtr() override { return &nativeView; }
        AAX_Result GetModifiers (uint32_t* outModifiers) override;
        AAX_Result SetViewSize (AAX_Point& inSize) override;
        AAX_Result HandleParameterMouseDown (AAX_CParamID inParamID, uint32_t inModifiers) override;
        AAX_Result HandleParameterMouseDrag (AAX_CParamID inParamID, uint32_t inModifiers) override;
        AAX_Result HandleParameterMouseUp (AAX_CParamID inParamID, uint32_t inModifiers) override;
        AAX_Result HandleMultipleParametersMouseDown (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) override;
        AAX_Result HandleMultipleParametersMouseDrag (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) override;
        AAX_Result HandleMultipleParametersMouseUp (const AAX_CParamID* inParamIDs, uint32_t inNumOfParams, uint32_t inModifiers) override;

        int nativeView = 0;
        uint32_t modifiers = 0x5;
        AAX_Point lastSize;
        std::vector<std::string> calls;

    protected:
        Answer Answers (const acfIID& iid) override;

    private:
        VersionSet mVersions;
    };

    // -----------------------------------------------------------------------
    // The host

    class FakeHost
    {
    public:
        explicit FakeHost (HostOptions options = {});
        ~FakeHost();

        FakeHost (const FakeHost&) = delete;
        FakeHost& operator= (const FakeHost&) = delete;

        /** The unknown the host passes to the entry points. */
        IACFUnknown* Unknown() { return &unknown; }

        /** Objects still holding references, or released too often; empty
            when every reference the library took has been given back. */
        std::string UnbalancedObjects() const;

        /** Registers an extra object (e.g. a view container or controller)
            for the UnbalancedObjects check. */
        void Watch (RefCounted& object) { mWatched.push_back (&object); }

        template <typename Object>
        Object* Adopt (std::unique_ptr<Object> object)
        {
            Object* raw = object.get();
            mCreated.push_back (std::move (object));
            return raw;
        }

        HostOptions options;

        FakeHostUnknown unknown;
        FakeComponentFactory factory;
        FakePluginDefinition pluginDefinition;
        FakeDescriptionHost descriptionHost;
        FakeDefinition definition;

        std::vector<TraceRecord> traces;
        std::vector<TraceRecord> stackTraces;
        std::vector<AssertRecord> asserts;
        bool throwFromTrace = false;

        std::vector<FakeHostServices*> hostServices;
        std::vector<FakeCollection*> collections;
        std::vector<FakeEffectDescriptor*> effectDescriptors;
        std::vector<FakeComponentDescriptor*> componentDescriptors;
        std::vector<FakePropertyMap*> propertyMaps;
        std::vector<FakePageTable*> pageTables;
        std::vector<FakeFeatureInfo*> featureInfos;

    private:
        std::vector<std::unique_ptr<RefCounted>> mCreated;
        std::vector<RefCounted*> mWatched;
    };

    /** Finds the fake object behind a host interface pointer (null when the
        pointer is not one of ours). */
    template <typename Fake>
    Fake* fakeBehind (IACFUnknown* object)
    {
        return dynamic_cast<Fake*> (object);
    }

    /** Chooses what the test definition of GetEffectDescriptions does while
        it is alive; without one, GetEffectDescriptions succeeds and
        describes nothing. */
    class ScopedEffectDescriber
    {
    public:
        explicit ScopedEffectDescriber (std::function<AAX_Result (AAX_ICollection*)> describer);
        ~ScopedEffectDescriber();
    };

    /** Runs ACFStartup with the host for its lifetime, ACFShutdown after. */
    class ScopedStartup
    {
    public:
        explicit ScopedStartup (FakeHost& host);
        ~ScopedStartup();
    };
}
