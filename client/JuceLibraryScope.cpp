#include "client/JuceLibraryScope.h"

#include <juce_events/juce_events.h>

#include <memory>
#include <mutex>

namespace aaxclient
{
    namespace
    {
        // The host may create and release objects on different threads, and
        // JUCE's own initialiser count is a plain int, so the count lives here
        // behind a mutex and JUCE sees a single initialiser.
        std::mutex scopeMutex;
        int scopeCount = 0;
        std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
    }

    JuceLibraryScope::JuceLibraryScope()
    {
        const std::lock_guard<std::mutex> lock (scopeMutex);

        if (scopeCount == 0)
            initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>();

        ++scopeCount;
    }

    JuceLibraryScope::~JuceLibraryScope()
    {
        const std::lock_guard<std::mutex> lock (scopeMutex);

        if (--scopeCount == 0)
            initialiser.reset();
    }

    void JuceLibraryScope::dispatchPendingMessages()
    {
        auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();

        if (messageManager != nullptr && messageManager->isThisTheMessageThread())
            messageManager->runDispatchLoopUntil (0);
    }

    int JuceLibraryScope::liveScopes()
    {
        const std::lock_guard<std::mutex> lock (scopeMutex);
        return scopeCount;
    }
}
