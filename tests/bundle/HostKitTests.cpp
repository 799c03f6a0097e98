// The host's own parts without the bundle: the state file format, the packet
// hand-over to the audio thread, the context layout, what the description
// objects accept and refuse, and the records of calls kept only when asked.

#include "AAX_Enums.h"
#include "AAX_Errors.h"
#include "ChunkSet.h"
#include "DescriptionObjects.h"
#include "InstanceContext.h"
#include "InstanceObjects.h"
#include "PacketMailbox.h"
#include "PluginHost.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

using namespace zelkhost;

namespace
{
    ChunkSet twoChunks()
    {
        ChunkSet set;
        set.chunks.push_back ({ 0x656C636Bu, -1, "Complete Controls State", { 1, 1, 1, 1, 'd', '_' } });
        set.chunks.push_back ({ 0x6A756365u, 0, "JUCE Plug-in State", std::vector<char> (300, '\x7f') });
        return set;
    }
}

TEST (HostStateFile, RoundTripsEveryChunk)
{
    const auto set = twoChunks();
    ChunkSet read;
    std::string error;
    ASSERT_TRUE (ChunkSet::deserialise (set.serialise(), read, error)) << error;
    EXPECT_EQ (read.chunks, set.chunks);

    ChunkSet empty;
    ASSERT_TRUE (ChunkSet::deserialise (ChunkSet {}.serialise(), empty, error));
    EXPECT_TRUE (empty.chunks.empty());
}

TEST (HostStateFile, AnyDamageIsRefusedAndLeavesNothing)
{
    const auto bytes = twoChunks().serialise();

    // Every truncation, and every single-byte change of the header words.
    for (std::size_t length = 0; length < bytes.size(); ++length)
    {
        ChunkSet read = twoChunks();
        std::string error;
        EXPECT_FALSE (ChunkSet::deserialise (std::vector<char> (bytes.begin(), bytes.begin() + (long) length), read, error)) << length;
        EXPECT_TRUE (read.chunks.empty());
        EXPECT_FALSE (error.empty());
    }

    auto trailing = bytes;
    trailing.push_back (0);
    ChunkSet read;
    std::string error;
    EXPECT_FALSE (ChunkSet::deserialise (trailing, read, error));

    auto hugeCount = bytes;
    hugeCount[8] = hugeCount[9] = hugeCount[10] = hugeCount[11] = '\xff';
    EXPECT_FALSE (ChunkSet::deserialise (hugeCount, read, error));

    // A chunk size far beyond the data must not be believed.
    auto hugeSize = bytes;
    const std::size_t firstSize = 12 + 4 + 4 + 32;
    hugeSize[firstSize] = hugeSize[firstSize + 1] = hugeSize[firstSize + 2] = '\xff';
    hugeSize[firstSize + 3] = '\x0f';
    EXPECT_FALSE (ChunkSet::deserialise (hugeSize, read, error));

    auto wrongVersion = bytes;
    wrongVersion[4] = 2;
    EXPECT_FALSE (ChunkSet::deserialise (wrongVersion, read, error));
}

TEST (HostStateFile, NamesAreCutToTheirFieldAndIDsPrintAsText)
{
    ChunkSet set;
    set.chunks.push_back ({ 1, 0, std::string (40, 'n'), {} });
    ChunkSet read;
    std::string error;
    ASSERT_TRUE (ChunkSet::deserialise (set.serialise(), read, error));
    EXPECT_EQ (read.chunks.front().name, std::string (31, 'n'));

    EXPECT_EQ (fourCharText (0x656C636Bu), "elck");
    EXPECT_EQ (fourCharText (0x00010203u), "????");
}

TEST (PacketHandOver, TheAudioSideSeesOnlyCompletePacketsAndOnlyOnce)
{
    PacketMailbox mailbox (8);
    unsigned char received[8] = {};
    uint32_t seen = 0;
    EXPECT_FALSE (mailbox.collect (received, seen));

    const unsigned char first[8] = { 1, 2, 3, 4, 5, 6, 7, 8 };
    mailbox.post (first, 8);
    ASSERT_TRUE (mailbox.collect (received, seen));
    EXPECT_EQ (std::memcmp (received, first, 8), 0);
    EXPECT_FALSE (mailbox.collect (received, seen));

    // Shorter payloads are zero-padded, longer ones cut to the port.
    const unsigned char shorter[3] = { 9, 9, 9 };
    mailbox.post (shorter, 3);
    ASSERT_TRUE (mailbox.collect (received, seen));
    const unsigned char padded[8] = { 9, 9, 9, 0, 0, 0, 0, 0 };
    EXPECT_EQ (std::memcmp (received, padded, 8), 0);
}

TEST (PacketHandOver, AReaderNeverSeesAMixOfTwoPackets)
{
    PacketMailbox mailbox (16);
    std::atomic<bool> done { false };
    std::thread writer ([&] {
        for (uint32_t n = 1; n < 20000; ++n)
        {
            uint32_t words[4] = { n, n, n, n };
            mailbox.post (words, sizeof (words));
        }
        done = true;
    });

    uint32_t seen = 0, words[4] = {};
    while (! done.load())
    {
        if (mailbox.collect (words, seen))
        {
            ASSERT_TRUE (words[0] == words[1] && words[1] == words[2] && words[2] == words[3]);
        }
    }
    writer.join();
}

TEST (InstanceContextLayout, EverySlotPointsWhereItsFieldSays)
{
    RecordedComponent component;
    auto add = [&] (AAX_CFieldIndex index, FieldKind kind, uint32_t size = 0) {
        RecordedField field;
        field.index = index;
        field.kind = kind;
        field.size = size;
        component.fields.push_back (field);
    };
    add (0, FieldKind::audioIn);
    add (1, FieldKind::audioOut);
    add (2, FieldKind::audioBufferLength);
    add (3, FieldKind::dataInPort, 4);
    add (4, FieldKind::privateData, 8);
    add (6, FieldKind::privateData, 4);

    std::string error;
    auto context = InstanceContext::build (component, 2, 2, 256, 48000.0f, error);
    ASSERT_NE (context, nullptr) << error;

    auto** slots = static_cast<void**> (context->contextPointer());
    EXPECT_EQ (slots[5], nullptr); // no field 5
    ASSERT_EQ (context->privateBlocks().size(), 2u);
    EXPECT_EQ (context->privateBlocks()[0].data, slots[4]);
    EXPECT_EQ (context->privateBlocks()[1].size, 4u);
    EXPECT_EQ (reinterpret_cast<std::uintptr_t> (slots[4]) % alignof (void*), 0u);

    float left[4] = {}, right[4] = {};
    const float* in[] = { left, right };
    float* out[] = { right, left };
    const float bypass = 1.0f;
    context->dataInPorts().front().mailbox->post (&bypass, 4);
    context->prepareBlock (in, out, 3);

    EXPECT_EQ (static_cast<float**> (slots[0])[1], right);
    EXPECT_EQ (static_cast<float**> (slots[1])[0], right);
    EXPECT_EQ (*static_cast<int32_t*> (slots[2]), 3);
    EXPECT_EQ (*static_cast<float*> (slots[3]), 1.0f);
}

TEST (InstanceContextLayout, RefusesFieldsTheHostCannotSupply)
{
    RecordedComponent component;
    RecordedField field;
    field.index = 0;
    field.kind = FieldKind::sideChainIn;
    component.fields.push_back (field);

    std::string error;
    EXPECT_EQ (InstanceContext::build (component, 1, 1, 64, 44100.0f, error), nullptr);
    EXPECT_FALSE (error.empty());

    component.fields.front().kind = FieldKind::privateData;
    component.fields.front().index = 1 << 20;
    EXPECT_EQ (InstanceContext::build (component, 1, 1, 64, 44100.0f, error), nullptr);
}

TEST (DescriptionObjects, RecordWhatIsDescribedAndRefuseWhatIsNotTheirs)
{
    PluginHost host;
    auto* factory = host.componentFactory();

    auto make = [&] (const acfUID& component, const acfIID& iid) {
        void* made = nullptr;
        EXPECT_EQ (factory->CreateComponent (component, nullptr, iid, &made), ACF_OK);
        return made;
    };

    auto* collection = static_cast<AAX_IACFCollection*> (make (AAXCompID_AAXCollection, IID_IAAXCollectionV1));
    auto* effect = static_cast<AAX_IACFEffectDescriptor*> (make (AAXCompID_EffectDescriptor, IID_IAAXEffectDescriptorV1));
    auto* component = static_cast<AAX_IACFComponentDescriptor_V3*> (make (AAXCompID_ComponentDescriptor, IID_IAAXComponentDescriptorV3));
    auto* map = static_cast<AAX_IACFPropertyMap_V3*> (make (AAXCompID_PropertyMap, IID_IAAXPropertyMapV3));

    auto process = reinterpret_cast<AAX_CProcessProc> (+[] (void* const[], const void*) {});
    map->AddProperty (AAX_eProperty_PlugInID_Native, 42);
    map->AddProperty (AAX_eProperty_InputStemFormat, 2);
    map->AddProperty (AAX_eProperty_OutputStemFormat, 2);
    map->AddPointerProperty (AAX_eProperty_NativeProcessProc, reinterpret_cast<const void*> (process));

    AAX_CSelector ids[2] = { 99, 99 };
    EXPECT_EQ (component->AddProcessProc (map, ids, 1), AAX_ERROR_ARGUMENT_BUFFER_OVERFLOW);
    EXPECT_EQ (component->AddProcessProc (map, ids, 2), AAX_SUCCESS);
    EXPECT_NE (ids[0], 0u);
    EXPECT_EQ (ids[1], 0u);
    EXPECT_EQ (component->AddProcessProc (nullptr, ids, 2), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (component->AddAudioIn (0), AAX_SUCCESS);
    EXPECT_EQ (component->AddAudioOut (0), AAX_ERROR_INVALID_FIELD_INDEX); // the index is taken
    EXPECT_EQ (component->AddPrivateData (1, -4, 0), AAX_ERROR_INVALID_ARGUMENT);

    EXPECT_EQ (effect->AddComponent (component), AAX_SUCCESS);
    EXPECT_EQ (effect->AddComponent (map), AAX_ERROR_NULL_COMPONENT); // a map is no component
    EXPECT_EQ (effect->AddName ("Multiband Saturator"), AAX_SUCCESS);
    EXPECT_EQ (collection->AddEffect ("com.example.effect", map), AAX_ERROR_NULL_OBJECT);
    EXPECT_EQ (collection->AddEffect ("com.example.effect", effect), AAX_SUCCESS);
    EXPECT_EQ (collection->AddEffect ("com.example.effect", effect), AAX_ERROR_DUPLICATE_EFFECT_ID);

    auto* recordingCollection = host.registry().find<HostCollection> (collection);
    ASSERT_NE (recordingCollection, nullptr);
    const auto description = recordingCollection->description();
    ASSERT_EQ (description.effects.size(), 1u);
    const auto& recorded = description.effects.front().components.front();
    ASSERT_EQ (recorded.processProcs.size(), 1u);
    EXPECT_EQ (recorded.processProcs.front().process, process);
    EXPECT_EQ (recorded.findNativeProc (2, 2), &recorded.processProcs.front());
    EXPECT_EQ (recorded.findNativeProc (1, 1), nullptr);

    for (IACFUnknown* object : std::initializer_list<IACFUnknown*> { collection, effect, component, map })
        object->Release();
    EXPECT_TRUE (host.registry().unbalancedObjects().empty());
}

TEST (DescriptionObjects, WithheldVersionsAreNotAnsweredAndExtraReleasesAreCounted)
{
    HostOptions options;
    options.propertyMap = onlyVersion (1);
    PluginHost host (options);

    void* made = nullptr;
    EXPECT_EQ (host.componentFactory()->CreateComponent (AAXCompID_PropertyMap, nullptr, IID_IAAXPropertyMapV3, &made), ACF_E_NOINTERFACE);
    EXPECT_EQ (made, nullptr);
    ASSERT_EQ (host.componentFactory()->CreateComponent (AAXCompID_PropertyMap, nullptr, IID_IAAXPropertyMapV1, &made), ACF_OK);

    auto* map = static_cast<IACFUnknown*> (made);
    map->Release();
    map->Release();
    const auto unbalanced = host.registry().unbalancedObjects();
    ASSERT_EQ (unbalanced.size(), 1u);
    EXPECT_EQ (unbalanced.front()->overReleases(), 1);
}

TEST (CallRecords, KeptOnlyWhileSwitchedOnEvenWithAnotherThreadCalling)
{
    HostAutomationDelegate automation;
    HostViewContainer view { InstanceOptions {} };
    AAX_Point size { 525, 950 };
    auto call = [&] { automation.RegisterControl ("gain"); automation.PostCurrentValue ("gain", 0.5); view.SetViewSize (size); };

    callRecordsKept = false;
    call();
    EXPECT_TRUE (automation.calls().empty() && automation.currentValuesFor ("gain").empty() && view.requestedSizes().empty());
    EXPECT_EQ (automation.registeredParameters().size(), 1u) << "what the host works with is kept";

    std::thread caller ([&] { for (int i = 0; i < 2000; ++i) call(); });
    callRecordsKept = true;
    automation.calls();
    caller.join();
    call();
    EXPECT_TRUE (automation.calls().back() == "current gain 0.5" && view.requestedSizes().back().horz == 950.0f);
}
