#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

/** The stored side of A/B comparison: one parameter set, element "AB", kept in
    memory only (it is part of neither the host state nor the presets file).

    The processor builds it before its parameter store exists, so the set starts
    without attributes; applying it then puts every captured parameter back to
    its default value. The preset bar swaps it with the live settings ("A/B") or
    overwrites it with them ("Keep").
*/
class ABStateHolder
{
public:
    explicit ABStateHolder (juce::AudioProcessor& owner);

    juce::AudioProcessor* processor;
    juce::XmlElement storedSet { "AB" };

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ABStateHolder)
};
