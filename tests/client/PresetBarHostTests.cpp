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
    /** The values of an 'elck' chunk's data by parameter ID: a leading word, then per
        parameter "d_" + ID, NUL, zero padding to a multiple of 4, a big-endian double. */
    std::map<std::string, double> controlsIn (const std::vector<uint8_t>& data)
    {
        std::map<std::string, double> values;
        for (size_t at = 4; at < data.size();)
        {
            const std::string tagged (reinterpret_cast<const char*> (&data[at]), strnlen (reinterpret_cast<const char*> (&data[at]), data.size() - at));
            at = (at + tagged.size() + 4) & ~size_t (3);
            if (at + 8 > data.size())
                break;
            uint64_t bits = 0;
            for (size_t i = 0; i < 8; ++i)
                bits = (bits << 8) | data[at + i];
            std::memcpy (&values[tagged.substr (2)], &bits, sizeof (double));
            at += 8;
        }
        return values;
    }

    TEST (PresetBarThroughTheHost, ChoosingAPresetAutomatesEveryChangedParameterAndTheControlsChunk)
    {
        fakehost::FakeHost host;
        fakehost::ScopedStartup startup { host };
        clienttest::HostedEffect instance (host);

        fakehost::ControllerOptions options;
        options.effectParameters = instance.Unknown();
        fakehost::FakeController controller (host, options);
        auto* unknown = static_cast<IACFUnknown*> (aaxclient::createEffectGUIObject());
        void* found = nullptr;
        unknown->QueryInterface (IID_IAAXEffectGUIV1, &found);
        auto* gui = static_cast<AAX_IACFEffectGUI*> (found);
        ASSERT_EQ (gui->Initialize (&controller), AAX_SUCCESS);
        fakehost::FakeViewContainer view;
        gui->SetViewContainer (&view);
        auto* editor = dynamic_cast<aaxclient::EffectGUI&> (*gui).getEditor();
        ASSERT_NE (editor, nullptr);

        // The bar of the host's window; an editor without one gets a bar made on its processor.
        std::function<state::StateComponent* (juce::Component&)> findBar = [&] (juce::Component& c) -> state::StateComponent*
        {
            for (auto* child : c.getChildren())
                if (auto* bar = dynamic_cast<state::StateComponent*> (child); bar != nullptr || (bar = findBar (*child)) != nullptr)
                    return bar;
            return nullptr;
        };
        auto& processor = dynamic_cast<MultiAudioProcessor&> (instance.Processor());
        std::unique_ptr<state::StateComponent> ownBar;
        auto* bar = findBar (*editor);
        if (bar == nullptr)
            bar = (ownBar = std::make_unique<state::StateComponent> (processor.apvts, processor.abStateHolder, processor.presetsHolder)).get();

        std::vector<float> before;
        for (auto* p : processor.getParameters())
            before.push_back (p->getValue());
        auto& automation = instance.Controller().answering;
        automation.setRequests.clear();

        auto* list = dynamic_cast<juce::ComboBox*> (bar->getChildComponent (2));
        ASSERT_NE (list, nullptr);
        list->setSelectedId (9);   // as the list's menu does: "Guitar - Crush"
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

        const auto chunk = controlsIn (clienttest::ChunkData (instance.SaveChunk (kControlsChunkID)));
        int changed = 0;
        for (auto* p : processor.getParameters())
        {
            const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (p)->paramID.toStdString();
            const auto value = (double) p->getValue();
            if (p->getValue() != before[(size_t) p->getParameterIndex()])
            {
                ++changed;
                ASSERT_FALSE (automation.RequestsFor (id).empty()) << id;
                EXPECT_EQ (automation.RequestsFor (id).back(), value) << id;
            }
            EXPECT_EQ (instance.HostValue (id.c_str()), value) << id;
            EXPECT_EQ (chunk.at (id), value) << id;
        }
        EXPECT_GT (changed, 20);

        ownBar.reset();
        gui->SetViewContainer (nullptr);
        gui->Uninitialize();
        gui->Release();
    }
}
