#include "FuzzSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzsupport
{
    namespace
    {
        std::string scratchFolder;

        void removeScratchFolder()
        {
            if (! scratchFolder.empty())
                juce::File (scratchFolder).deleteRecursively();
        }
    }

    juce::File isolateUserFolders()
    {
        if (scratchFolder.empty())
        {
            const char* base = std::getenv ("TMPDIR");
            std::string pattern = std::string (base != nullptr && *base != '\0' ? base : "/tmp") + "/zelk-fuzz-XXXXXX";

            if (mkdtemp (pattern.data()) == nullptr)
                fail ("could not make a scratch folder");

            scratchFolder = pattern;
            const auto config = scratchFolder + "/.config";
            const auto temporary = scratchFolder + "/tmp";
            juce::File (config).createDirectory();
            juce::File (temporary).createDirectory();
            setenv ("HOME", scratchFolder.c_str(), 1);
            setenv ("XDG_CONFIG_HOME", config.c_str(), 1);
            setenv ("TMPDIR", temporary.c_str(), 1);
            std::atexit (removeScratchFolder);
        }

        return juce::File (scratchFolder);
    }

    void initialiseJuce()
    {
        // Never destroyed: libFuzzer leaves through exit(), and tearing JUCE
        // down from a static destructor there would race its own statics.
        static auto* initialiser = new juce::ScopedJuceInitialiser_GUI();
        juce::ignoreUnused (initialiser);
    }

    void dispatchPendingMessages()
    {
        auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();

        if (messageManager != nullptr && messageManager->isThisTheMessageThread())
            messageManager->runDispatchLoopUntil (0);
    }
}
