#pragma once

#include "presets/PresetsFileReader.h"

#include <juce_core/juce_core.h>

#include <memory>

/** The presets this process last merged into and wrote to a presets file, with
    the file's stamp right after the write.

    A host builds the processor more than once (for the registration, then for
    each instance); as long as the file's stamp has not changed since, a later
    construction takes its presets from here instead of reading, merging and
    writing the file again. Safe to use from any thread. One file is kept: the
    plug-in has only one presets file per user. */
class MergedPresetsCache
{
public:
    /** The presets remembered for `file` when its stamp is still `stamp`, else nullptr. */
    static std::shared_ptr<const juce::XmlElement> find (const juce::File& file, const FileStamp& stamp);

    /** Remembers `presets` as the contents of `file` at `stamp`. */
    static void remember (const juce::File& file, const FileStamp& stamp, std::shared_ptr<const juce::XmlElement> presets);

    /** Forgets everything, as a fresh process would have nothing. */
    static void forgetAll();
};
