// A preset chosen in the preset bar of the window the host opened reaches the
// host as automation, and the controls chunk carries the new values.
#include "ClientSession.h"

#include "AAX_CEffectParameters.h"
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
        clienttest::ClientSession session;
        clienttest::HostedEffect instance (session);
        ASSERT_EQ (instance.Instance().openView(), AAX_SUCCESS);
        auto* editor = instance.Processor().getActiveEditor();
        ASSERT_NE (editor, nullptr);

        // The bar of the host's window.
        auto& processor = dynamic_cast<MultiAudioProcessor&> (instance.Processor());
        auto* bar = findBar (*editor);
        ASSERT_NE (bar, nullptr);

        std::vector<float> before;
        for (auto* p : processor.getParameters())
            before.push_back (p->getValue());
        auto& automation = instance.Controller().automation();
        automation.clearRequests();
        dynamic_cast<juce::ComboBox&> (*bar->getChildComponent (2)).setSelectedId (9);   // as the list's menu does
        juce::MessageManager::getInstance()->runDispatchLoopUntil (50);

        const auto chunk = controlsIn (instance.SaveChunk (kControlsChunkID).data<uint8_t>());
        int changed = 0;
        for (auto* p : processor.getParameters())
        {
            const auto id = dynamic_cast<juce::AudioProcessorParameterWithID*> (p)->paramID.toStdString();
            const auto requests = automation.setRequestsFor (id);
            if (p->getValue() != before[(size_t) p->getParameterIndex()] && ++changed)
            {
                EXPECT_TRUE (! requests.empty() && requests.back() == p->getValue()) << id;
            }
            EXPECT_EQ (instance.HostValue (id.c_str()), p->getValue()) << id;
            EXPECT_EQ (chunk.at (id), p->getValue()) << id;
        }
        EXPECT_GT (changed, 20);

        instance.Instance().closeView();
    }
}
