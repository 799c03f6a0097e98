#pragma once

#include "resources/tools/LayoutOnlyProcessor.h"

#include "engine/ParameterLayout.h"
#include "presets/ABStateHolder.h"
#include "presets/MergedPresetsCache.h"
#include "presets/PresetsHolder.h"
#include "resources/FactoryPresets.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdlib>
#include <unistd.h>
#include <optional>
#include <string>

/** Points HOME and XDG_CONFIG_HOME at a fresh temporary folder for the lifetime
    of the object, so that presets holders built meanwhile never see a real
    user's files; the folder is removed and the variables restored afterwards.
    The process's cache of merged presets starts empty. */
class ScopedTemporaryHome
{
public:
    ScopedTemporaryHome()
        : savedHome (read ("HOME")), savedConfigHome (read ("XDG_CONFIG_HOME"))
    {
        // The process ID keeps test programs that run at once (ctest -j) apart.
        home = juce::File::getSpecialLocation (juce::File::tempDirectory)
                   .getNonexistentChildFile ("zelk-presets-test-home-" + juce::String (getpid()), {}, false);
        home.createDirectory();
        setenv ("HOME", home.getFullPathName().toRawUTF8(), 1);
        setConfigHome (home.getChildFile (".config"));
        MergedPresetsCache::forgetAll();   // a fresh home is met as by a fresh process
    }

    ~ScopedTemporaryHome()
    {
        restore ("HOME", savedHome);
        restore ("XDG_CONFIG_HOME", savedConfigHome);
        home.deleteRecursively();
    }

    void setConfigHome (const juce::File& folder) const    { setenv ("XDG_CONFIG_HOME", folder.getFullPathName().toRawUTF8(), 1); }
    void setConfigHomeText (const char* text) const         { setenv ("XDG_CONFIG_HOME", text, 1); }
    void unsetConfigHome() const                            { unsetenv ("XDG_CONFIG_HOME"); }

    /** Where presets.xml belongs while XDG_CONFIG_HOME is left as the constructor set it. */
    juce::File presetsFile() const    { return home.getChildFile (".config/Velkor Audio Tools/ZELK-MULTI/presets.xml"); }

    juce::File home;

private:
    static std::optional<std::string> read (const char* name)
    {
        if (const auto* value = std::getenv (name))
            return std::string (value);

        return std::nullopt;
    }

    static void restore (const char* name, const std::optional<std::string>& value)
    {
        if (value.has_value())
            setenv (name, value->c_str(), 1);
        else
            unsetenv (name);
    }

    std::optional<std::string> savedHome, savedConfigHome;
};

/** A stand-in for the plug-in's processor with the same construction order as
    far as presets are concerned: the A/B holder and the presets holder are built
    before the parameter store, which carries the real parameter layout. */
class PresetsTestProcessor : public SilentProcessor
{
public:
    PresetsTestProcessor() : SilentProcessor ("ZELK-MULTI") {}

    juce::RangedAudioParameter& parameter (const juce::String& id)
    {
        auto* found = parameters.getParameter (id);
        jassert (found != nullptr);
        return *found;
    }

    float plainValue (const juce::String& id)    { return parameters.getRawParameterValue (id)->load(); }

    void setPlain (const juce::String& id, float value)
    {
        auto& p = parameter (id);
        p.setValueNotifyingHost (p.convertTo0to1 (value));
    }

    /** The host state as the plug-in's processor keeps it, as far as presets are concerned. */
    void getStateInformation (juce::MemoryBlock& block) override
    {
        auto state = parameters.copyState();
        presetsHolder.addEntryNameTo (state);
        juce::MemoryOutputStream stream (block, false);
        state.writeToStream (stream);
    }

    void setStateInformation (const void* data, int size) override
    {
        presetsHolder.restoreState (parameters, juce::ValueTree::readFromData (data, (size_t) size));
    }

    ABStateHolder abStateHolder { *this };
    PresetsHolder presetsHolder { *this, getName() + "/presets.xml" };
    juce::AudioProcessorValueTreeState parameters { *this, nullptr, "PARAMS", createParameterLayout() };
};

/** A file's bytes as text. */
inline juce::String contentsOf (const juce::File& file)
{
    return file.loadFileAsString();
}

inline juce::String embeddedFactoryText()
{
    return juce::String::fromUTF8 (factoryPresetsXml, factoryPresetsXmlSize);
}

namespace juce
{
    /** Lets test failures show string lists readably. */
    inline void PrintTo (const StringArray& strings, std::ostream* stream)
    {
        *stream << "{ " << strings.joinIntoString (" | ") << " }";
    }
}
