// The presets store with many user entries in presets.xml (each as the
// preset bar saves it: 70 parameters and a name, about 1.8 kB):
//  - StartUp: what a host does when it loads the plug-in and inserts it, the
//    presets holder built twice in one process, once for the registration and
//    once for the instance, starting from a process that has not seen the
//    file yet;
//  - SavePreset: "Save preset" into the same file (the new entry is taken out
//    again untimed, so every round saves into the same number of entries);
//  - StartUpManyAttributeNames: StartUp with a hand-made presets.xml whose one
//    user entry has the given number of distinct attribute names (100,000
//    take 1.3 MB), which JUCE's string pool takes one at a time.
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

    /** Writes presets.xml as one entry with `names` distinct attribute names
        ("a0", "a1", ...) in file order, then its name. */
    void writeManyAttributeNames (const juce::File& file, int names)
    {
        juce::MemoryOutputStream out;
        out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<PRESETS>\r\n  <preset24";

        for (int i = 0; i < names; ++i)
            out << " a" << i << "=\"0.0\"";

        out << " presetName=\"many names\"/>\r\n</PRESETS>\r\n";
        file.getParentDirectory().createDirectory();
        file.replaceWithData (out.getData(), out.getDataSize());
    }

    /** Two holders built as a host's registration and instance do. With
        `namesUnpooled`, the names of the file are also out of JUCE's string
        pool at each round, as in a process that has not met them yet. */
    void startUpRounds (benchmark::State& state, juce::AudioProcessor& processor, bool namesUnpooled = false)
    {
        for (auto _ : state)
        {
            MergedPresetsCache::forgetAll();   // a process that has not met the file yet

            if (namesUnpooled)
            {
                state.PauseTiming();
                juce::StringPool::getGlobalPool().garbageCollect();
                state.ResumeTiming();
            }

            PresetsHolder registration (processor, relativePath);
            PresetsHolder instance (processor, relativePath);
            benchmark::DoNotOptimize (instance.presets.getFirstChildElement());
        }
    }

    void BM_StartUp (benchmark::State& state)
    {
        TemporaryConfigHome home;
        LayoutOnlyProcessor processor;
        const auto file = PresetsHolder::locatePresetsFile ({}, relativePath);
        writePresetsFile (processor, file, (int) state.range (0));
        startUpRounds (state, processor);
    }

    void BM_StartUpManyAttributeNames (benchmark::State& state)
    {
        TemporaryConfigHome home;
        LayoutOnlyProcessor processor;
        const auto file = PresetsHolder::locatePresetsFile ({}, relativePath);
        writeManyAttributeNames (file, (int) state.range (0));
        startUpRounds (state, processor, true);
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
BENCHMARK (BM_StartUpManyAttributeNames)->Arg (100000)->Unit (benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK (BM_SavePreset)->Arg (100)->Arg (10000)->Arg (100000)->Unit (benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
