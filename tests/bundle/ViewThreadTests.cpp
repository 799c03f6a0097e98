// The plug-in's window opened and closed again and again while the audio
// thread processes and a host thread automates every parameter and the
// crossover count: no crash, no leak (LeakSanitizer), no data race
// (ThreadSanitizer), nothing left alive.
//
// As a host does, the test makes one call at a time into the plug-in's data
// model (automation on its thread; opening, closing and timer wake-ups, in
// which the plug-in's message thread does all its work, on the main thread);
// only the process procedure runs alongside.

#include "BundleTestSupport.h"

#include "AAX_Errors.h"

#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>

using namespace zelkhost;

TEST (ViewWhileOtherThreadsRun, OpeningAndClosingTheViewAHundredTimesWhileProcessingAndAutomating)
{
    PluginSession session;
    bundletest::openSession (session);
    {
        InstanceOptions options;
        options.sampleRate = 48000.0f;
        std::string error;
        auto instance = EffectInstance::create (session.host(), session.effect(), 2, options, error);
        ASSERT_NE (instance, nullptr) << error;
        ASSERT_EQ (instance->startProcessing(), AAX_SUCCESS);
        const auto ids = instance->parameterIDs();

        std::mutex dataModel;
        const auto onDataModel = [&] (auto&& call)
        {
            const std::lock_guard<std::mutex> lock (dataModel);
            return call();
        };
        std::atomic<bool> stop { false };
        std::atomic<int> blocks { 0 }, automated { 0 };

        std::thread audioThread ([&]
        {
            auto audio = bundletest::makeAudio (2, 480);
            auto out = audio;
            const auto in = bundletest::readPointers (audio);
            const auto outputs = bundletest::writePointers (out);
            while (! stop.load())
            {
                instance->process (in.data(), outputs.data(), 480);
                ++blocks;
            }
        });

        // Every parameter, the crossover count and both spectrum switches among
        // them, moves round its range; "Tape" is left out, whose random draws
        // would share the C library's generator with this thread.
        std::thread hostThread ([&]
        {
            for (int round = 0; ! stop.load(); ++round)
                for (std::size_t i = 0; i < ids.size() && ! stop.load(); ++i)
                {
                    auto value = std::fmod (0.29 * round + 0.07 * (double) i, 1.0);
                    if (ids[i].rfind ("type-", 0) == 0 && value > 0.35 && value < 0.45)
                        value = 0.6;
                    onDataModel ([&] { return instance->automate (ids[i], value); });
                    ++automated;
                }
        });

        for (int view = 0; view < 100; ++view)
        {
            ASSERT_EQ (onDataModel ([&] { return instance->openView(); }), AAX_SUCCESS) << view;
            for (int tick = 0; tick < 3; ++tick)
                onDataModel ([&] { instance->idle(); return 0; });
            ASSERT_EQ (onDataModel ([&] { return instance->closeView(); }), AAX_SUCCESS) << view;
            onDataModel ([&] { instance->idle(); return 0; });

            // The host's automation gets its turns in between.
            for (const auto before = automated.load(); automated.load() < before + 10;)
                std::this_thread::yield();
        }

        stop = true;
        audioThread.join();
        hostThread.join();
        EXPECT_GT (blocks.load(), 0);
        EXPECT_GE (automated.load(), 1000);
        EXPECT_EQ (instance->uninitialize(), AAX_SUCCESS);
    }
    EXPECT_EQ (session.close(), 0) << "objects of the plug-in still alive";
}
