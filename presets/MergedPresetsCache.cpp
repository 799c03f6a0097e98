#include "presets/MergedPresetsCache.h"

#include <mutex>

namespace
{
    struct CachedFile
    {
        std::mutex mutex;
        juce::File file;
        FileStamp stamp;
        std::shared_ptr<const juce::XmlElement> presets;
    };

    CachedFile& cached()
    {
        static CachedFile instance;
        return instance;
    }
}

std::shared_ptr<const juce::XmlElement> MergedPresetsCache::find (const juce::File& file, const FileStamp& stamp)
{
    auto& entry = cached();
    const std::lock_guard<std::mutex> lock (entry.mutex);

    if (entry.presets == nullptr || ! stamp.isRegular() || entry.file != file || entry.stamp != stamp)
        return nullptr;

    return entry.presets;
}

void MergedPresetsCache::remember (const juce::File& file, const FileStamp& stamp, std::shared_ptr<const juce::XmlElement> presets)
{
    auto& entry = cached();
    const std::lock_guard<std::mutex> lock (entry.mutex);
    entry.file = file;
    entry.stamp = stamp;
    entry.presets = stamp.isRegular() ? std::move (presets) : nullptr;
}

void MergedPresetsCache::forgetAll()
{
    remember ({}, {}, nullptr);
}
