// The host's description objects, made by its component factory during
// registration: property maps (versions 1-3), the collection, effect
// descriptors (1-2) and component descriptors (1-3). Each records what the
// plug-in tells it; the collection turns an added effect into a
// RecordedEffect.
#pragma once

#include "AAX_IACFCollection.h"
#include "AAX_IACFComponentDescriptor.h"
#include "AAX_IACFDescriptionHost.h"
#include "AAX_IACFEffectDescriptor.h"
#include "AAX_IACFPropertyMap.h"
#include "DescriptionRecord.h"
#include "HostObject.h"
#include "InterfaceVersions.h"
#include "ObjectRegistry.h"

#include <mutex>

namespace zelkhost
{
    /** What every description object needs from its host. */
    struct DescriptionHostContext
    {
        ObjectRegistry& registry;
        const HostOptions& options;
    };

    class HostPropertyMap final : public HostObject<AAX_IACFPropertyMap_V3>
    {
    public:
        /** descriptionHost: what the map answers for the description host when
            the options let property maps answer it. */
        explicit HostPropertyMap (const HostOptions& options, AAX_IACFDescriptionHost* descriptionHost = nullptr);

        AAX_CBoolean GetProperty (AAX_EProperty property, AAX_CPropertyValue* value) const override;
        AAX_Result AddProperty (AAX_EProperty property, AAX_CPropertyValue value) override;
        AAX_Result RemoveProperty (AAX_EProperty property) override;
        AAX_Result AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* ids, uint32_t count) override;
        AAX_CBoolean GetPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad** ids, uint32_t* count) const override;
        AAX_CBoolean GetPointerProperty (AAX_EProperty property, const void** value) const override;
        AAX_Result AddPointerProperty (AAX_EProperty property, const void* value) override;

        RecordedProperties snapshot() const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        const HostOptions& mOptions;
        AAX_IACFDescriptionHost* const mDescriptionHost;
        const AAX_Result mRemovalResult;
        mutable std::mutex mLock;
        RecordedProperties mProperties;
    };

    class HostComponentDescriptor final : public HostObject<AAX_IACFComponentDescriptor_V3>
    {
    public:
        explicit HostComponentDescriptor (DescriptionHostContext context);

        AAX_Result Clear() override;
        AAX_Result AddAudioIn (AAX_CFieldIndex field) override;
        AAX_Result AddAudioOut (AAX_CFieldIndex field) override;
        AAX_Result AddAudioBufferLength (AAX_CFieldIndex field) override;
        AAX_Result AddSampleRate (AAX_CFieldIndex field) override;
        AAX_Result AddClock (AAX_CFieldIndex field) override;
        AAX_Result AddSideChainIn (AAX_CFieldIndex field) override;
        AAX_Result AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options) override;
        AAX_Result AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char name[]) override;
        AAX_Result AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType portType) override;
        AAX_Result AddDmaInstance (AAX_CFieldIndex field, AAX_EDmaMode mode) override;
        AAX_Result AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount) override;
        AAX_Result AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType nodeType, const char name[], uint32_t channelMask) override;
        AAX_Result AddReservedField (AAX_CFieldIndex field, uint32_t fieldType) override;
        AAX_Result AddProcessProc_Native (AAX_CProcessProc process, IACFUnknown* properties,
                                          AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                          AAX_CSelector* outID) override;
        AAX_Result AddProcessProc_TI (const char dllName[], const char processSymbol[], IACFUnknown* properties,
                                      const char instanceInitSymbol[], const char backgroundSymbol[],
                                      AAX_CSelector* outID) override;
        AAX_Result AddTemporaryData (AAX_CFieldIndex field, uint32_t elementSize) override;
        AAX_Result AddProcessProc (IACFUnknown* properties, AAX_CSelector* outIDs, int32_t capacity) override;

        RecordedComponent snapshot() const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        AAX_Result addField (RecordedField field, std::string call);
        AAX_Result addProc (RecordedProcessProc proc, AAX_CSelector* outID);
        AAX_Result registerNative (AAX_CProcessProc process, IACFUnknown* properties, AAX_CInstanceInitProc instanceInit,
                                   AAX_CBackgroundProc background, AAX_CSelector* outID);
        AAX_Result registerTI (const char dllName[], const char processSymbol[], IACFUnknown* properties,
                               const char instanceInitSymbol[], const char backgroundSymbol[], AAX_CSelector* outID);
        RecordedProperties propertiesOf (IACFUnknown* map) const;

        DescriptionHostContext mContext;
        mutable std::mutex mLock;
        RecordedComponent mComponent;
    };

    class HostEffectDescriptor final : public HostObject<AAX_IACFEffectDescriptor_V2>
    {
    public:
        explicit HostEffectDescriptor (DescriptionHostContext context);

        AAX_Result AddComponent (IACFUnknown* componentDescriptor) override;
        AAX_Result AddName (const char* name) override;
        AAX_Result AddCategory (uint32_t category) override;
        AAX_Result AddCategoryBypassParameter (uint32_t category, AAX_CParamID parameterID) override;
        AAX_Result AddProcPtr (void* procedure, AAX_CProcPtrID procID) override;
        AAX_Result SetProperties (IACFUnknown* properties) override;
        AAX_Result AddResourceInfo (AAX_EResourceType type, const char* info) override;
        AAX_Result AddMeterDescription (AAX_CTypeID meterID, const char* name, IACFUnknown* properties) override;
        AAX_Result AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType nodeType, const char name[], uint32_t channelMask) override;

        /** Everything described so far, components and property maps read now. */
        RecordedEffect snapshot (const std::string& effectID) const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        DescriptionHostContext mContext;
        mutable std::mutex mLock;
        RecordedEffect mEffect;
        std::vector<const HostComponentDescriptor*> mComponents;
        const HostPropertyMap* mProperties = nullptr;
    };

    class HostCollection final : public HostObject<AAX_IACFCollection>
    {
    public:
        explicit HostCollection (DescriptionHostContext context);

        AAX_Result AddEffect (const char* effectID, IACFUnknown* effectDescriptor) override;
        AAX_Result SetManufacturerName (const char* name) override;
        AAX_Result AddPackageName (const char* name) override;
        AAX_Result SetPackageVersion (uint32_t version) override;
        AAX_Result SetProperties (IACFUnknown* properties) override;

        RecordedDescription description() const;

    protected:
        void* answers (const acfIID& iid) override;

    private:
        DescriptionHostContext mContext;
        mutable std::mutex mLock;
        RecordedDescription mDescription;
    };
}
