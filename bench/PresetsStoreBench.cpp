// The presets store with many user entries in presets.xml (each as the
// preset bar saves it: 70 parameters and a name, about 1.8 kB):
//  - StartUp: what a host does when it loads the plug-in and inserts it, the
//    presets holder built twice in one process, once for the registration and
//    once for the instance, starting from a process that has not seen the
//    file yet;
//  - SavePreset: "Save preset" into the same file (the new entry is taken out
//    again untimed, so every round saves into the same number of entries).
// Everything happens in a temporary folder that stands in for the user's
// config folder.

#include "presets/ParameterSetXml.h"
#include "presets/MergedPresetsCache.h"
#include "presets/PresetsHolder.h"
#include "resources/tools/LayoutOnlyProcessor.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace
{
    const juce::String relativePath ("ZELK-MULTI/presets.xml");

    /** Points XDG_CONFIG_HOME at a temporary folder for the object's lifetime. */
    class TemporaryConfigHome
    {
    public:
        TemporaryConfigHome()
        {
            if (const auto* value = std::getenv ("XDG_CONFIG_HOME"))
                saved = value;

            folder.createDirectory();
            setenv ("XDG_CONFIG_HOME", folder.getFullPathName().toRawUTF8(), 1);
        }

        ~TemporaryConfigHome()
        {
            if (saved.has_value())
                setenv ("XDG_CONFIG_HOME", saved->c_str(), 1);
            else
                unsetenv ("XDG_CONFIG_HOME");

            folder.deleteRecursively();
        }

    private:
        juce::File folder { juce::File::getSpecialLocation (juce::File::tempDirectory)
                                .getNonexistentChildFile ("zelk-presets-bench", {}, false) };
        std::optional<std::string> saved;
    };

    /** Writes presets.xml as the factory entries followed by `userEntries`
        copies of the processor's settings, in the store's own layout. */
    void writePresetsFile (juce::AudioProcessor& processor, const juce::File& file, int userEntries)
    {
        auto document = PresetsHolder::createFactoryPresets();
        auto* sample = document.createNewChildElement ("presetTAG");
        captureParametersToXml (processor, *sample);
        sample->setAttribute ("presetName", "user entry");

        const auto text = document.toString();
        const auto entryStart = text.indexOf ("  <presetTAG");
        const auto entryEnd = text.lastIndexOf ("</PRESETS>");
        const auto entry = text.substring (entryStart, entryEnd);

        juce::MemoryOutputStream out;
        out << text.substring (0, entryStart);

        for (int i = 0; i < userEntries; ++i)
            out << entry.replace ("presetTAG", "preset" + juce::String (24 + i));

        out << text.substring (entryEnd);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (out.getData(), out.getDataSize());
    }

    void BM_StartUp (benchmark::State& state)
    {
        TemporaryConfigHome home;
        LayoutOnlyProcessor processor;
        const auto file = PresetsHolder::locatePresetsFile ({}, relativePath);
        writePresetsFile (processor, file, (int) state.range (0));

        for (auto _ : state)
        {
            MergedPresetsCache::forgetAll();   // a process that has not met the file yet
            PresetsHolder registration (processor, relativePath);
            PresetsHolder instance (processor, relativePath);
            benchmark::DoNotOptimize (instance.presets.getFirstChildElement());
        }
    }

    void BM_SavePreset (benchmark::State& state)
    {
        TemporaryConfigHome home;
        LayoutOnlyProcessor processor;
        const auto file = PresetsHolder::locatePresetsFile ({}, relativePath);
        writePresetsFile (processor, file, (int) state.range (0));
        PresetsHolder holder (processor, relativePath);

        for (auto _ : state)
        {
            const auto saved = holder.savePreset ("bench");

            state.PauseTiming();
            if (saved.failed())
                state.SkipWithError (saved.getErrorMessage().toRawUTF8());
            holder.deletePreset (holder.currentIndex);
            state.ResumeTiming();
        }
    }
}

BENCHMARK (BM_StartUp)->Arg (100)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK (BM_SavePreset)->Arg (100)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
