#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

// JUCE's message manager and its singletons must exist for processors,
// parameters and timers; one initialiser serves the whole test program.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    juce::ScopedJuceInitialiser_GUI juce;
    return RUN_ALL_TESTS();
}
