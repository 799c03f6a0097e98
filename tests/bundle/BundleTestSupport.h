// Shared by the bundle tests: where the bundle is, test audio, and a setting
// that moves every parameter of the plug-in away from its default.
#pragma once

#include "EffectInstance.h"
#include "ParameterAssignments.h"
#include "ParameterCatalogue.h"
#include "PluginSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace bundletest
{
    inline std::string bundlePath() { return ZELK_PLUGIN_BUNDLE; }

    /** Opens a session on the real bundle or fails the test. */
    inline void openSession (zelkhost::PluginSession& session)
    {
        std::string error;
        ASSERT_TRUE (session.open (bundlePath(), error)) << error;
    }

    /** Deterministic test audio: a few partials per channel, -6 dBFS at most. */
    inline std::vector<std::vector<float>> makeAudio (int channels, int samples)
    {
        std::vector<std::vector<float>> audio (static_cast<std::size_t> (channels), std::vector<float> (static_cast<std::size_t> (samples)));
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < samples; ++i)
                audio[static_cast<std::size_t> (c)][static_cast<std::size_t> (i)]
                    = 0.25f * std::sin (0.013f * (float) i * (float) (c + 1)) + 0.2f * std::sin (0.31f * (float) i) + 0.05f * std::sin (1.7f * (float) i);
        return audio;
    }

    inline std::vector<const float*> readPointers (const std::vector<std::vector<float>>& audio)
    {
        std::vector<const float*> pointers;
        for (auto& channel : audio)
            pointers.push_back (channel.data());
        return pointers;
    }

    inline std::vector<float*> writePointers (std::vector<std::vector<float>>& audio)
    {
        std::vector<float*> pointers;
        for (auto& channel : audio)
            pointers.push_back (channel.data());
        return pointers;
    }

    /** A normalised value for every parameter ID, spread over the range and
        snapped to the parameter's legal values (as a host control moving in
        the parameter's steps would send it), with the switches that would
        silence or bypass the whole effect kept off and the analyser displays
        kept off. */
    inline std::vector<std::pair<std::string, double>> settingFor (const std::vector<std::string>& ids, unsigned seed)
    {
        std::vector<std::pair<std::string, double>> setting;
        unsigned state = seed * 2654435761u + 1u;
        for (const auto& id : ids)
        {
            state = state * 1664525u + 1013904223u;
            double value = (state >> 8) / double (1u << 24);

            if (id == "bypass" || id == "MasterBypassID" || id == "input_plot" || id == "output_plot" || id.rfind ("solo-", 0) == 0)
                value = 0.0;
            else if (id.rfind ("active-", 0) == 0 || id.rfind ("real_active-", 0) == 0)
                value = 1.0;
            else if (id == "output_mix")
                value = 0.8;
            else if (id == "output")
                value = 0.9;

            static zelkhost::ParameterCatalogue catalogue;
            if (auto* parameter = findParameter (catalogue, id))
                value = parameter->convertTo0to1 (parameter->convertFrom0to1 ((float) value));

            setting.emplace_back (id, value);
        }
        return setting;
    }
}
