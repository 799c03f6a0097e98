// A preset chosen in the preset bar of the window the host opened reaches the
// host as automation, and the controls chunk carries the new values.
#include "ClientTestHost.h"

#include "AAX_CEffectParameters.h"
#include "AAX_IACFEffectGUI.h"
#include "AAX_UIDs.h"
#include "client/EffectDescription.h"
#include "client/EffectGUI.h"
#include "engine/MultiAudioProcessor.h"
#include "presets/StateComponent.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

namespace
{
    /** The values of an 'elck' chunk by parameter ID: a leading word, then per parameter
        "d_" + ID, NUL, zero padding to a multiple of 4, a big-endian double. */
    std::map<std::string, double> controlsIn (const std::vector<uint8_t>& data)
    {
        std::map<std::string, double> values;
        for (size_t at = 4; at + 8 <= data.size();)
        {
            const std::string tagged (reinterpret_cast<const char*> (&data[at]), strnlen (reinterpret_cast<const char*> (&data[at]), data.size() - at));
            uint64_t bits = 0;
            at = (at + tagged.size() + 4) & ~size_t (3);
            for (int i = 0; i < 8 && at < data.size(); ++i)
                bits = (bits << 8) | data[at++];
            std::memcpy (&values[tagged.substr (2)], &bits, sizeof (double));
        }
        return values;
    }

    state::StateComponent* findBar (juce::Component& parent)
    {
        for (auto* child : parent.getChildren())
            if (auto* bar = dynamic_cast<state::StateComponent*> (child); bar != nullptr || (bar = findBar (*child)) != nullptr)
                return bar;
        return nullptr;
    }

    TEST (PresetBarThroughTheHost, ChoosingAPresetAutomatesEveryChangedParameterAndTheControlsChunk)
    {
        fakehost::FakeHost host;
        fakehost::ScopedStartup startup { host };
        clienttest::HostedEffect instance (host);
        fakehost::ControllerOptions options;
        options.effectParameters = instance.Unknown();
        fakehost::FakeController controller (host, options);
        void* found = nullptr;
        static_cast<IACFUnknown*> (aaxclient::createEffectGUIObject())->QueryInterface (IID_IAAXEffectGUIV1, &found);
        auto* gui = static_cast<AAX_IACFEffectGUI*> (found);
        ASSERT_EQ (gui->Initialize (&controller), AAX_SUCCESS);
        fakehost::FakeViewContainer view;
        gui->SetViewContainer (&view);
        auto* editor = dynamic_cast<aaxclient::EffectGUI&> (*gui).getEditor();
        ASSERT_NE (editor, nullptr);

        // The bar of the host's window; an editor without one gets a bar made on its processor.
        auto& processor = dynamic_cast<MultiAudioProcessor&> (instance.Processor());
        auto* bar = findBar (*editor);
        std::unique_ptr<state::StateComponent> ownBar;
        if (bar == nullptr)
            bar = (ownBar = std::make_unique<state::StateComponent> (processor.apvts, processor.abStateHolder, processor.presetsHolder)).get();

        std::vector<float> before;
        for (auto* p : processor.getParameters())
            before.push_back (p->getValue());
        instance.Controller().answering.setRequests.clear();
        dynamic_cast<juce::ComboBox&> (*bar->getChildComponent (2)).setSelectedId (9);   // as the list's menu does
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

        const auto chunk = controlsIn (clienttest::ChunkData (instance.SaveChunk (kControlsChunkID)));
        int changed = 0;
        for (auto* p : processor.getParameters())
        {
            const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (p)->paramID.toStdString();
            const auto requests = instance.Controller().answering.RequestsFor (id);
            if (p->getValue() != before[(size_t) p->getParameterIndex()] && ++changed)
                EXPECT_TRUE (! requests.empty() && requests.back() == p->getValue()) << id;
            EXPECT_EQ (instance.HostValue (id.c_str()), p->getValue()) << id;
            EXPECT_EQ (chunk.at (id), p->getValue()) << id;
        }
        EXPECT_GT (changed, 20);

        ownBar.reset();
        gui->SetViewContainer (nullptr);
        gui->Uninitialize();
        gui->Release();
    }
}
