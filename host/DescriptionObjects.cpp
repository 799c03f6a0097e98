#include "DescriptionObjects.h"

#include "AAX_Enums.h"
#include "AAX_Errors.h"

#include <algorithm>

namespace zelkhost
{
    namespace
    {
        std::string textOf (const char* text)
        {
            return text != nullptr ? std::string (text) : std::string();
        }

        RecordedField makeField (AAX_CFieldIndex index, FieldKind kind)
        {
            RecordedField field;
            field.index = index;
            field.kind = kind;
            return field;
        }

        std::string numbers (std::initializer_list<long long> values)
        {
            std::string text;
            for (const auto value : values)
                text += " " + std::to_string (value);
            return text;
        }

        /** How a property-map argument reads in a call line. */
        std::string mapText (const ObjectRegistry& registry, IACFUnknown* map)
        {
            if (map == nullptr)
                return "none";
            return registry.find<HostPropertyMap> (map) != nullptr ? "property map" : "foreign object";
        }

        template <typename Pointer>
        Pointer pointerProperty (const RecordedProperties& properties, AAX_EProperty property)
        {
            const auto found = properties.pointers.find (property);
            return found != properties.pointers.end() ? reinterpret_cast<Pointer> (const_cast<void*> (found->second)) : nullptr;
        }
    }

    // =======================================================================
    HostPropertyMap::HostPropertyMap (const HostOptions& options, AAX_IACFDescriptionHost* descriptionHost)
        : HostObject ("property map"), mOptions (options), mDescriptionHost (descriptionHost),
          mRemovalResult (options.propertyRemovalResult)
    {
    }

    AAX_CBoolean HostPropertyMap::GetProperty (AAX_EProperty property, AAX_CPropertyValue* value) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        const auto found = mProperties.values.find (property);
        if (found == mProperties.values.end())
            return 0;
        if (value != nullptr)
            *value = found->second;
        return 1;
    }

    AAX_Result HostPropertyMap::AddProperty (AAX_EProperty property, AAX_CPropertyValue value)
    {
        logCall ("AddProperty" + numbers ({ property, value }));
        const std::lock_guard<std::mutex> guard (mLock);
        mProperties.values[property] = value;
        return AAX_SUCCESS;
    }

    AAX_Result HostPropertyMap::RemoveProperty (AAX_EProperty property)
    {
        logCall ("RemoveProperty" + numbers ({ property }));
        if (mRemovalResult != AAX_SUCCESS)
            return mRemovalResult;

        const std::lock_guard<std::mutex> guard (mLock);
        mProperties.values.erase (property);
        mProperties.pointers.erase (property);
        mProperties.identifierArrays.erase (property);
        return AAX_SUCCESS;
    }

    AAX_Result HostPropertyMap::AddPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad* ids, uint32_t count)
    {
        if (ids == nullptr && count > 0)
            return AAX_ERROR_NULL_ARGUMENT;

        const std::lock_guard<std::mutex> guard (mLock);
        mProperties.identifierArrays[property].assign (ids, ids + count);
        return AAX_SUCCESS;
    }

    AAX_CBoolean HostPropertyMap::GetPropertyWithIDArray (AAX_EProperty property, const AAX_SPlugInIdentifierTriad** ids, uint32_t* count) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        const auto found = mProperties.identifierArrays.find (property);
        if (found == mProperties.identifierArrays.end() || ids == nullptr || count == nullptr)
            return 0;
        *ids = found->second.data();
        *count = static_cast<uint32_t> (found->second.size());
        return 1;
    }

    AAX_CBoolean HostPropertyMap::GetPointerProperty (AAX_EProperty property, const void** value) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        const auto found = mProperties.pointers.find (property);
        if (found == mProperties.pointers.end() || value == nullptr)
            return 0;
        *value = found->second;
        return 1;
    }

    AAX_Result HostPropertyMap::AddPointerProperty (AAX_EProperty property, const void* value)
    {
        logCall ("AddPointerProperty" + numbers ({ property }));
        const std::lock_guard<std::mutex> guard (mLock);
        mProperties.pointers[property] = value;
        return AAX_SUCCESS;
    }

    RecordedProperties HostPropertyMap::snapshot() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mProperties;
    }

    void* HostPropertyMap::answers (const acfIID& iid)
    {
        const auto versions = mOptions.propertyMap;
        if (iid == IID_IAAXPropertyMapV1 && offers (versions, 1)) return as<AAX_IACFPropertyMap>();
        if (iid == IID_IAAXPropertyMapV2 && offers (versions, 2)) return as<AAX_IACFPropertyMap_V2>();
        if (iid == IID_IAAXPropertyMapV3 && offers (versions, 3)) return as<AAX_IACFPropertyMap_V3>();
        if (iid == IID_IAAXDescriptionHostV1 && mOptions.propertyMapDescriptionHost)
            return mDescriptionHost;
        return nullptr;
    }

    // =======================================================================
    HostComponentDescriptor::HostComponentDescriptor (DescriptionHostContext context)
        : HostObject ("component descriptor"), mContext (context)
    {
    }

    AAX_Result HostComponentDescriptor::addField (RecordedField field, std::string call)
    {
        logCall (std::move (call));
        const std::lock_guard<std::mutex> guard (mLock);
        for (const auto& existing : mComponent.fields)
            if (existing.index == field.index)
                return AAX_ERROR_INVALID_FIELD_INDEX;
        if (field.index < 0)
            return AAX_ERROR_INVALID_FIELD_INDEX;

        mComponent.fields.push_back (std::move (field));
        return AAX_SUCCESS;
    }

    AAX_Result HostComponentDescriptor::Clear()
    {
        logCall ("Clear");
        const std::lock_guard<std::mutex> guard (mLock);
        mComponent = {};
        return AAX_SUCCESS;
    }

    AAX_Result HostComponentDescriptor::AddAudioIn (AAX_CFieldIndex field)            { return addField (makeField (field, FieldKind::audioIn), "AudioIn" + numbers ({ field })); }
    AAX_Result HostComponentDescriptor::AddAudioOut (AAX_CFieldIndex field)           { return addField (makeField (field, FieldKind::audioOut), "AudioOut" + numbers ({ field })); }
    AAX_Result HostComponentDescriptor::AddAudioBufferLength (AAX_CFieldIndex field)  { return addField (makeField (field, FieldKind::audioBufferLength), "AudioBufferLength" + numbers ({ field })); }
    AAX_Result HostComponentDescriptor::AddSampleRate (AAX_CFieldIndex field)         { return addField (makeField (field, FieldKind::sampleRate), "SampleRate" + numbers ({ field })); }
    AAX_Result HostComponentDescriptor::AddClock (AAX_CFieldIndex field)              { return addField (makeField (field, FieldKind::clock), "Clock" + numbers ({ field })); }
    AAX_Result HostComponentDescriptor::AddSideChainIn (AAX_CFieldIndex field)        { return addField (makeField (field, FieldKind::sideChainIn), "SideChainIn" + numbers ({ field })); }

    AAX_Result HostComponentDescriptor::AddPrivateData (AAX_CFieldIndex field, int32_t dataSize, uint32_t options)
    {
        if (dataSize < 0)
            return AAX_ERROR_INVALID_ARGUMENT;

        auto record = makeField (field, FieldKind::privateData);
        record.size = static_cast<uint32_t> (dataSize);
        record.options = options;
        return addField (record, "PrivateData" + numbers ({ field, dataSize, options }));
    }

    AAX_Result HostComponentDescriptor::AddAuxOutputStem (AAX_CFieldIndex field, int32_t stemFormat, const char name[])
    {
        auto record = makeField (field, FieldKind::auxOutputStem);
        record.stemFormat = stemFormat;
        record.name = textOf (name);
        return addField (record, "AuxOutputStem" + numbers ({ field, stemFormat }) + " " + argumentText (name));
    }

    AAX_Result HostComponentDescriptor::AddDataInPort (AAX_CFieldIndex field, uint32_t packetSize, AAX_EDataInPortType portType)
    {
        auto record = makeField (field, FieldKind::dataInPort);
        record.size = packetSize;
        record.options = static_cast<uint32_t> (portType);
        return addField (record, "DataInPort" + numbers ({ field, packetSize, portType }));
    }

    AAX_Result HostComponentDescriptor::AddDmaInstance (AAX_CFieldIndex field, AAX_EDmaMode mode)
    {
        auto record = makeField (field, FieldKind::dmaInstance);
        record.options = static_cast<uint32_t> (mode);
        return addField (record, "DmaInstance" + numbers ({ field, mode }));
    }

    AAX_Result HostComponentDescriptor::AddMeters (AAX_CFieldIndex field, const AAX_CTypeID* meterIDs, uint32_t meterCount)
    {
        if (meterIDs == nullptr && meterCount > 0)
            return AAX_ERROR_NULL_ARGUMENT;

        auto record = makeField (field, FieldKind::meters);
        record.count = meterCount;
        return addField (record, "Meters" + numbers ({ field, meterCount }));
    }

    AAX_Result HostComponentDescriptor::AddMIDINode (AAX_CFieldIndex field, AAX_EMIDINodeType nodeType, const char name[], uint32_t channelMask)
    {
        auto record = makeField (field, FieldKind::midiNode);
        record.options = static_cast<uint32_t> (nodeType);
        record.count = channelMask;
        record.name = textOf (name);
        return addField (record, "MIDINode" + numbers ({ field, nodeType }) + " " + argumentText (name) + numbers ({ channelMask }));
    }

    AAX_Result HostComponentDescriptor::AddReservedField (AAX_CFieldIndex field, uint32_t fieldType)
    {
        auto record = makeField (field, FieldKind::reservedField);
        record.options = fieldType;
        return addField (record, "ReservedField" + numbers ({ field, fieldType }));
    }

    AAX_Result HostComponentDescriptor::AddTemporaryData (AAX_CFieldIndex field, uint32_t elementSize)
    {
        auto record = makeField (field, FieldKind::temporaryData);
        record.size = elementSize;
        return addField (record, "TemporaryData" + numbers ({ field, elementSize }));
    }

    RecordedProperties HostComponentDescriptor::propertiesOf (IACFUnknown* map) const
    {
        if (auto* hostMap = mContext.registry.find<HostPropertyMap> (map))
            return hostMap->snapshot();
        return {};
    }

    AAX_Result HostComponentDescriptor::addProc (RecordedProcessProc proc, AAX_CSelector* outID)
    {
        if (mContext.options.processProcResult != AAX_SUCCESS)
            return mContext.options.processProcResult;

        const std::lock_guard<std::mutex> guard (mLock);
        proc.selector = static_cast<AAX_CSelector> (mComponent.processProcs.size() + 1);
        if (outID != nullptr)
            *outID = proc.selector;
        mComponent.processProcs.push_back (std::move (proc));
        return AAX_SUCCESS;
    }

    AAX_Result HostComponentDescriptor::AddProcessProc_Native (AAX_CProcessProc process, IACFUnknown* properties,
                                                               AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                                               AAX_CSelector* outID)
    {
        logCall ("ProcessProc_Native " + mapText (mContext.registry, properties));
        return registerNative (process, properties, instanceInit, background, outID);
    }

    AAX_Result HostComponentDescriptor::registerNative (AAX_CProcessProc process, IACFUnknown* properties,
                                                        AAX_CInstanceInitProc instanceInit, AAX_CBackgroundProc background,
                                                        AAX_CSelector* outID)
    {
        if (process == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        RecordedProcessProc proc;
        proc.native = true;
        proc.process = process;
        proc.instanceInit = instanceInit;
        proc.background = background;
        proc.properties = propertiesOf (properties);
        return addProc (std::move (proc), outID);
    }

    AAX_Result HostComponentDescriptor::AddProcessProc_TI (const char dllName[], const char processSymbol[], IACFUnknown* properties,
                                                           const char instanceInitSymbol[], const char backgroundSymbol[],
                                                           AAX_CSelector* outID)
    {
        logCall ("ProcessProc_TI " + argumentText (dllName) + " " + argumentText (processSymbol) + " "
                 + argumentText (instanceInitSymbol) + " " + argumentText (backgroundSymbol));
        return registerTI (dllName, processSymbol, properties, instanceInitSymbol, backgroundSymbol, outID);
    }

    AAX_Result HostComponentDescriptor::registerTI (const char dllName[], const char processSymbol[], IACFUnknown* properties,
                                                    const char instanceInitSymbol[], const char backgroundSymbol[],
                                                    AAX_CSelector* outID)
    {
        if (dllName == nullptr || processSymbol == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        RecordedProcessProc proc;
        proc.native = false;
        proc.dllName = dllName;
        proc.processSymbol = processSymbol;
        proc.instanceInitSymbol = textOf (instanceInitSymbol);
        proc.backgroundSymbol = textOf (backgroundSymbol);
        proc.properties = propertiesOf (properties);
        return addProc (std::move (proc), outID);
    }

    AAX_Result HostComponentDescriptor::AddProcessProc (IACFUnknown* properties, AAX_CSelector* outIDs, int32_t capacity)
    {
        logCall ("AddProcessProc" + numbers ({ capacity }));
        auto* map = mContext.registry.find<HostPropertyMap> (properties);
        if (map == nullptr)
            return AAX_ERROR_NULL_OBJECT;

        const auto recorded = map->snapshot();
        const bool wantsNative = recorded.has (AAX_eProperty_PlugInID_Native) || recorded.has (AAX_eProperty_PlugInID_AudioSuite);
        const bool wantsTI = recorded.has (AAX_eProperty_PlugInID_TI);

        // The out array must hold every ID and the closing 0; a call that
        // cannot report its IDs registers nothing.
        const int wanted = (wantsNative ? 1 : 0) + (wantsTI ? 1 : 0);
        if (outIDs != nullptr && (capacity < 1 || wanted > capacity - 1))
            return AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW;

        std::vector<AAX_CSelector> registered;
        AAX_Result result = AAX_SUCCESS;

        if (wantsNative)
        {
            AAX_CSelector id = 0;
            result = registerNative (pointerProperty<AAX_CProcessProc> (recorded, AAX_eProperty_NativeProcessProc), properties,
                                            pointerProperty<AAX_CInstanceInitProc> (recorded, AAX_eProperty_NativeInstanceInitProc),
                                            pointerProperty<AAX_CBackgroundProc> (recorded, AAX_eProperty_NativeBackgroundProc), &id);
            if (result == AAX_SUCCESS)
                registered.push_back (id);
        }

        if (result == AAX_SUCCESS && wantsTI)
        {
            AAX_CSelector id = 0;
            result = registerTI (pointerProperty<const char*> (recorded, AAX_eProperty_TIDLLFileName),
                                        pointerProperty<const char*> (recorded, AAX_eProperty_TIProcessProc), properties,
                                        pointerProperty<const char*> (recorded, AAX_eProperty_TIInstanceInitProc),
                                        pointerProperty<const char*> (recorded, AAX_eProperty_TIBackgroundProc), &id);
            if (result == AAX_SUCCESS)
                registered.push_back (id);
        }

        if (outIDs != nullptr)
        {
            std::copy (registered.begin(), registered.end(), outIDs);
            outIDs[registered.size()] = 0;
        }
        return result;
    }

    RecordedComponent HostComponentDescriptor::snapshot() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mComponent;
    }

    void* HostComponentDescriptor::answers (const acfIID& iid)
    {
        const auto versions = mContext.options.componentDescriptor;
        if (iid == IID_IAAXComponentDescriptorV1 && offers (versions, 1)) return as<AAX_IACFComponentDescriptor>();
        if (iid == IID_IAAXComponentDescriptorV2 && offers (versions, 2)) return as<AAX_IACFComponentDescriptor_V2>();
        if (iid == IID_IAAXComponentDescriptorV3 && offers (versions, 3)) return as<AAX_IACFComponentDescriptor_V3>();
        return nullptr;
    }

    // =======================================================================
    HostEffectDescriptor::HostEffectDescriptor (DescriptionHostContext context)
        : HostObject ("effect descriptor"), mContext (context)
    {
    }

    AAX_Result HostEffectDescriptor::AddComponent (IACFUnknown* componentDescriptor)
    {
        auto* component = mContext.registry.find<HostComponentDescriptor> (componentDescriptor);
        logCall (std::string ("AddComponent ") + (component != nullptr ? "component descriptor" : componentDescriptor != nullptr ? "foreign object" : "none"));
        if (component == nullptr)
            return AAX_ERROR_NULL_COMPONENT;

        const std::lock_guard<std::mutex> guard (mLock);
        mComponents.push_back (component);
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::AddName (const char* name)
    {
        logCall ("AddName " + argumentText (name));
        if (name == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        const std::lock_guard<std::mutex> guard (mLock);
        mEffect.names.emplace_back (name);
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::AddCategory (uint32_t category)
    {
        logCall ("AddCategory" + numbers ({ category }));
        const std::lock_guard<std::mutex> guard (mLock);
        mEffect.categories.push_back (category);
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::AddCategoryBypassParameter (uint32_t category, AAX_CParamID parameterID)
    {
        logCall ("CategoryBypass" + numbers ({ category }) + " " + argumentText (parameterID));
        const std::lock_guard<std::mutex> guard (mLock);
        mEffect.categoryBypassParameters.emplace_back (category, textOf (parameterID));
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::AddProcPtr (void* procedure, AAX_CProcPtrID procID)
    {
        logCall ("ProcPtr " + argumentText (procID));
        if (procID == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;

        const std::lock_guard<std::mutex> guard (mLock);
        mEffect.procPointers[procID] = procedure;
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::SetProperties (IACFUnknown* properties)
    {
        logCall ("SetProperties " + mapText (mContext.registry, properties));
        auto* map = mContext.registry.find<HostPropertyMap> (properties);
        const std::lock_guard<std::mutex> guard (mLock);
        mProperties = map;
        return map != nullptr || properties == nullptr ? AAX_SUCCESS : AAX_ERROR_NULL_OBJECT;
    }

    AAX_Result HostEffectDescriptor::AddResourceInfo (AAX_EResourceType type, const char* info)
    {
        logCall ("Resource" + numbers ({ type }) + " " + argumentText (info));
        const std::lock_guard<std::mutex> guard (mLock);
        mEffect.resources.emplace_back (type, textOf (info));
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::AddMeterDescription (AAX_CTypeID meterID, const char* name, IACFUnknown* properties)
    {
        logCall ("Meter" + numbers ({ meterID }) + " " + argumentText (name) + " " + mapText (mContext.registry, properties));
        const std::lock_guard<std::mutex> guard (mLock);
        mEffect.meters.emplace_back (meterID, textOf (name));
        return AAX_SUCCESS;
    }

    AAX_Result HostEffectDescriptor::AddControlMIDINode (AAX_CTypeID nodeID, AAX_EMIDINodeType, const char name[], uint32_t)
    {
        logCall ("ControlMIDINode" + numbers ({ nodeID }) + " " + argumentText (name));
        return AAX_SUCCESS;
    }

    RecordedEffect HostEffectDescriptor::snapshot (const std::string& effectID) const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        auto effect = mEffect;
        effect.effectID = effectID;
        if (mProperties != nullptr)
            effect.properties = mProperties->snapshot();
        for (const auto* component : mComponents)
            effect.components.push_back (component->snapshot());
        return effect;
    }

    void* HostEffectDescriptor::answers (const acfIID& iid)
    {
        const auto versions = mContext.options.effectDescriptor;
        if (iid == IID_IAAXEffectDescriptorV1 && offers (versions, 1)) return as<AAX_IACFEffectDescriptor>();
        if (iid == IID_IAAXEffectDescriptorV2 && offers (versions, 2)) return as<AAX_IACFEffectDescriptor_V2>();
        return nullptr;
    }

    // =======================================================================
    HostCollection::HostCollection (DescriptionHostContext context)
        : HostObject ("collection"), mContext (context)
    {
    }

    AAX_Result HostCollection::AddEffect (const char* effectID, IACFUnknown* effectDescriptor)
    {
        logCall ("AddEffect " + argumentText (effectID));
        if (mContext.options.collectionAddEffectResult != AAX_SUCCESS)
            return mContext.options.collectionAddEffectResult;

        auto* descriptor = mContext.registry.find<HostEffectDescriptor> (effectDescriptor);
        if (descriptor == nullptr)
            return AAX_ERROR_NULL_OBJECT;
        if (effectID == nullptr || *effectID == 0)
            return AAX_ERROR_INVALID_ARGUMENT;

        const std::lock_guard<std::mutex> guard (mLock);
        for (const auto& effect : mDescription.effects)
            if (effect.effectID == effectID)
                return AAX_ERROR_DUPLICATE_EFFECT_ID;

        mDescription.effects.push_back (descriptor->snapshot (effectID));
        return AAX_SUCCESS;
    }

    AAX_Result HostCollection::SetManufacturerName (const char* name)
    {
        logCall ("SetManufacturerName " + argumentText (name));
        const std::lock_guard<std::mutex> guard (mLock);
        mDescription.manufacturerName = textOf (name);
        return AAX_SUCCESS;
    }

    AAX_Result HostCollection::AddPackageName (const char* name)
    {
        logCall ("AddPackageName " + argumentText (name));
        const std::lock_guard<std::mutex> guard (mLock);
        mDescription.packageNames.push_back (textOf (name));
        return AAX_SUCCESS;
    }

    AAX_Result HostCollection::SetPackageVersion (uint32_t version)
    {
        logCall ("SetPackageVersion" + numbers ({ version }));
        const std::lock_guard<std::mutex> guard (mLock);
        mDescription.packageVersion = version;
        return AAX_SUCCESS;
    }

    AAX_Result HostCollection::SetProperties (IACFUnknown* properties)
    {
        logCall ("SetProperties " + mapText (mContext.registry, properties));
        auto* map = mContext.registry.find<HostPropertyMap> (properties);
        const std::lock_guard<std::mutex> guard (mLock);
        mDescription.collectionProperties = map != nullptr ? map->snapshot() : RecordedProperties {};
        return AAX_SUCCESS;
    }

    RecordedDescription HostCollection::description() const
    {
        const std::lock_guard<std::mutex> guard (mLock);
        return mDescription;
    }

    void* HostCollection::answers (const acfIID& iid)
    {
        if (iid == IID_IAAXCollectionV1 && offers (mContext.options.collection, 1))
            return as<AAX_IACFCollection>();
        return nullptr;
    }
}
