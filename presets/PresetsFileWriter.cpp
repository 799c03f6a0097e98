#include "presets/PresetsFileWriter.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace
{
    /** Links followed before a chain counts as a loop: the system's own limit
        on Linux, and more than any chain set up on purpose. */
    constexpr int maximumLinksFollowed = 40;

    juce::Result failWithErrno()
    {
        return juce::Result::fail (std::strerror (errno));
    }

    /** The folder part of an absolute path, as the system reads it (nothing is
        simplified: "a/link/.." is not "a" when "link" is a link). */
    std::string folderOf (const std::string& path)
    {
        const auto slash = path.find_last_of ('/');
        return slash == 0 || slash == std::string::npos ? std::string ("/") : path.substr (0, slash);
    }

    std::string nameOf (const std::string& path)
    {
        const auto slash = path.find_last_of ('/');
        return slash == std::string::npos ? path : path.substr (slash + 1);
    }

    juce::Result readLink (const std::string& link, std::string& text)
    {
        for (std::vector<char> buffer (256);; buffer.resize (buffer.size() * 2))
        {
            const auto length = ::readlink (link.c_str(), buffer.data(), buffer.size());

            if (length < 0)
                return failWithErrno();

            if ((size_t) length < buffer.size())
            {
                text.assign (buffer.data(), (size_t) length);
                return juce::Result::ok();
            }
        }
    }
}

juce::Result findFileToReplace (const juce::File& file, juce::File& target)
{
    auto path = file.getFullPathName().toStdString();

    for (int followed = 0;; ++followed)
    {
        struct stat info;

        if (::lstat (path.c_str(), &info) != 0 || ! S_ISLNK (info.st_mode))
            break;

        if (followed == maximumLinksFollowed)
            return juce::Result::fail ("its symbolic links lead round in a loop");

        std::string text;
        const auto read = readLink (path, text);

        if (read.failed())
            return read;

        path = ! text.empty() && text[0] == '/' ? text : folderOf (path) + "/" + text;
    }

    const auto name = nameOf (path);

    if (name.empty() || name == "." || name == "..")
        return juce::Result::fail ("its symbolic link leads to a folder, not a file");

    // The temporary file must go into the very folder the final rename
    // lands in; JUCE's paths drop ".." by the letters alone.
    if (auto* canonical = ::realpath (folderOf (path).c_str(), nullptr))
    {
        target = juce::File (juce::String::fromUTF8 (canonical) + "/" + juce::String::fromUTF8 (name.c_str()));
        std::free (canonical);
        return juce::Result::ok();
    }

    // A missing folder is made below, where a file in the way is reported.
    if (errno != ENOENT && errno != ENOTDIR)
        return failWithErrno();

    target = juce::File (juce::String::fromUTF8 (path.c_str()));
    return juce::Result::ok();
}

bool writePresetsFile (const juce::XmlElement& presets, const juce::File& file)
{
    return writePresetsFileReportingFailure (presets, file).wasOk();
}

juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file)
{
    FileStamp written;
    return writePresetsFileReportingFailure (presets, file, written);
}

juce::Result writePresetsFileReportingFailure (const juce::XmlElement& presets, const juce::File& file, FileStamp& written)
{
    // Without a path the temporary file would land in the root folder, and a
    // folder in the file's place would be removed by the final rename when
    // empty: neither is a presets file to replace.
    if (file.getFullPathName().isEmpty())
        return juce::Result::fail ("it has no path");

    juce::File target;
    const auto found = findFileToReplace (file, target);

    if (found.failed())
        return found;

    struct stat info;
    const bool exists = ::stat (target.getFullPathName().toRawUTF8(), &info) == 0;

    if (exists && S_ISDIR (info.st_mode))
        return juce::Result::fail ("a folder stands in its place");

    if (! exists)
    {
        const auto folder = createFolderWithParents (target.getParentDirectory());

        if (folder.failed())
            return juce::Result::fail ("its folder cannot be created (" + folder.getErrorMessage() + ")");
    }

    // As XmlElement::writeTo (File) does, but keeping the reason of a failure.
    juce::TemporaryFile temporary (target);
    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk())
            return juce::Result::fail (out.getStatus().getErrorMessage());

        // Before anything is written, so that a file only its owner may read
        // is never readable by others, not even while it is being written.
        if (exists && ::chmod (temporary.getFile().getFullPathName().toRawUTF8(), info.st_mode & 0777) != 0)
            return failWithErrno();

        presets.writeTo (out, juce::XmlElement::TextFormat());
        out.flush();

        if (out.getStatus().failed())
            return juce::Result::fail (out.getStatus().getErrorMessage());
    }

    // Renaming keeps the stamp; should the move fall back to copying, the
    // stamp merely fails to match later, which only costs a re-read.
    written = FileStamp::of (temporary.getFile());

    if (! temporary.overwriteTargetFileWithTemporary())
        return juce::Result::fail ("the new contents could not be moved into its place");

    return juce::Result::ok();
}
