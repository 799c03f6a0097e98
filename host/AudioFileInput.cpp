#include "AudioFileInput.h"
#include "InputFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <unistd.h>

namespace zelkhost
{
    namespace
    {
        using juce::int64;

        constexpr uint32_t tag (const char (&text)[5])
        {
            return (uint32_t (uint8_t (text[0])) << 24) | (uint32_t (uint8_t (text[1])) << 16)
                 | (uint32_t (uint8_t (text[2])) << 8) | uint32_t (uint8_t (text[3]));
        }

        juce::String tagText (uint32_t id)
        {
            juce::String text;
            for (int shift = 24; shift >= 0; shift -= 8)
            {
                const auto c = static_cast<char> ((id >> shift) & 0xFFu);
                text << ((c >= 0x20 && c < 0x7F) ? c : '?');
            }
            return "'" + text + "'";
        }

        /** Reads an open file through its handle, which it closes; its size
            is the opened file's (juce::FileInputStream asks the path each
            time, which by then may name another file). */
        class HandleInputStream final : public juce::InputStream
        {
        public:
            HandleInputStream (int handleToUse, int64 sizeWhenOpened) : handle (handleToUse), size (sizeWhenOpened) {}
            ~HandleInputStream() override { ::close (handle); }

            int64 getTotalLength() override   { return size; }
            bool isExhausted() override       { return position >= size; }
            int64 getPosition() override      { return position; }
            bool setPosition (int64 newPosition) override
            {
                position = std::max<int64> (0, newPosition);
                return true;
            }

            int read (void* destination, int maxBytes) override
            {
                auto* bytes = static_cast<char*> (destination);
                int done = 0;
                while (done < maxBytes)
                {
                    const auto count = ::pread (handle, bytes + done, (size_t) (maxBytes - done), (off_t) position);
                    if (count < 0 && errno == EINTR)
                        continue;
                    if (count <= 0)
                        break;
                    done += (int) count;
                    position += count;
                }
                return done;
            }

        private:
            const int handle;
            const int64 size;
            int64 position = 0;
        };

        struct ChunkSpan
        {
            int64 payload = -1;   ///< where the chunk's data begins; -1 when there is no such chunk
            int64 size = 0;       ///< the size its header claims
        };

        /** Where the parts of a WAV or AIFF file lie, checked against the file's size. */
        struct FileLayout
        {
            bool isWav = true;
            bool isRf64 = false;
            bool isAifc = false;
            ChunkSpan format;           ///< 'fmt ' or 'COMM'
            ChunkSpan sound;            ///< 'data' or 'SSND'
            int64 readableEnd = 0;      ///< what the format reader is shown ends here
        };

        uint32_t readTag (juce::InputStream& in)
        {
            return static_cast<uint32_t> (in.readIntBigEndian());
        }

        bool findContainer (juce::InputStream& in, FileLayout& layout)
        {
            const auto outer = readTag (in);
            in.skipNextBytes (4);
            const auto form = readTag (in);

            layout.isWav = (outer == tag ("RIFF") || outer == tag ("RF64")) && form == tag ("WAVE");
            layout.isRf64 = outer == tag ("RF64");
            layout.isAifc = form == tag ("AIFC");
            return layout.isWav || (outer == tag ("FORM") && (form == tag ("AIFF") || form == tag ("AIFC")));
        }

        /** Walks the chunks. Only the sound data may run past the end of the
            file (a cut-off file); any other chunk that does so before the
            sound data is complete makes the file unusable, and one after it
            is left out of what the reader sees. */
        bool scanChunks (juce::InputStream& in, int64 fileSize, FileLayout& layout, juce::String& problem)
        {
            const auto formatTag = layout.isWav ? tag ("fmt ") : tag ("COMM");
            const auto soundTag = layout.isWav ? tag ("data") : tag ("SSND");
            int64 rf64DataSize = -1;
            int64 position = 12;
            layout.readableEnd = fileSize;

            while (position + 8 <= fileSize && in.setPosition (position))
            {
                const auto id = readTag (in);
                int64 size = layout.isWav ? (int64) (uint32_t) in.readInt() : (int64) (uint32_t) in.readIntBigEndian();
                const int64 payload = position + 8;

                if (layout.isRf64 && id == tag ("ds64") && size >= 16)
                {
                    in.skipNextBytes (8);
                    rf64DataSize = in.readInt64();
                }

                if (layout.isRf64 && id == soundTag && size == 0xFFFFFFFF && rf64DataSize >= 0)
                    size = rf64DataSize;

                if (id == formatTag)
                    layout.format = { payload, size };
                else if (id == soundTag)
                    layout.sound = { payload, size };

                if (size > fileSize - payload)
                {
                    if (id == soundTag)
                        break;

                    if (layout.format.payload >= 0 && layout.sound.payload >= 0)
                    {
                        layout.readableEnd = position;
                        break;
                    }

                    problem = "its " + tagText (id) + " chunk claims " + juce::String (size) + " bytes, but the file ends "
                              + juce::String (fileSize - payload) + " bytes after the chunk's start (the file is damaged or cut off)";
                    return false;
                }

                position = payload + size + (size & 1);
            }

            if (layout.format.payload < 0)
                problem = "it has no format chunk (" + tagText (formatTag) + ")";
            else if (layout.sound.payload < 0)
                problem = "it has no audio data chunk (" + tagText (soundTag) + ")";

            return problem.isEmpty();
        }

        /** Why the sample format cannot be used, with what to do about it;
            empty when it can. */
        juce::String checkSampleFormat (juce::InputStream& in, const FileLayout& layout)
        {
            in.setPosition (layout.format.payload);
            const juce::String convert = ": convert the file to 16-, 24- or 32-bit integer or 32-bit float WAV or AIFF first";

            if (layout.isWav)
            {
                if (layout.format.size < 16)
                    return "its format chunk is too short to describe the samples";

                auto encoding = (uint16_t) in.readShort();
                const auto channels = (uint16_t) in.readShort();
                in.skipNextBytes (10);
                const auto bits = (uint16_t) in.readShort();

                if (encoding == 0xFFFE && layout.format.size >= 26)   // extensible: the sub-format's first two bytes
                {
                    in.skipNextBytes (8);
                    encoding = (uint16_t) in.readShort();
                }

                if (channels == 0)
                    return "its format chunk declares no channels";
                if (encoding == 3 && bits != 32)
                    return "it holds " + juce::String (bits) + "-bit floating-point samples, which are not supported" + convert;
                if (encoding != 1 && encoding != 3)
                    return "its samples are stored in WAV encoding 0x" + juce::String::toHexString ((int) encoding).paddedLeft ('0', 4)
                           + " (compressed or unusual), which is not supported" + convert;
                if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
                    return "it holds " + juce::String (bits) + "-bit samples, which are not supported" + convert;
                return {};
            }

            if (layout.format.size < 18)
                return "its 'COMM' chunk is too short to describe the samples";

            const auto channels = (uint16_t) in.readShortBigEndian();
            in.skipNextBytes (4);
            const auto bits = (uint16_t) in.readShortBigEndian();

            if (channels == 0)
                return "its 'COMM' chunk declares no channels";

            if (layout.isAifc && layout.format.size >= 22)
            {
                in.skipNextBytes (10);
                const auto compression = readTag (in);

                if (compression != tag ("NONE") && compression != tag ("twos") && compression != tag ("sowt")
                     && compression != tag ("fl32") && compression != tag ("FL32"))
                    return "it is AIFF-C with compression " + tagText (compression) + ", which is not supported" + convert;
            }

            if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
                return "it holds " + juce::String (bits) + "-bit samples, which are not supported" + convert;
            return {};
        }

        /** Where the sample frames begin: AIFF's sound data starts with an
            offset and a block size. */
        int64 firstFrameOffset (juce::InputStream& in, const FileLayout& layout)
        {
            if (layout.isWav)
                return layout.sound.payload;

            in.setPosition (layout.sound.payload);
            return layout.sound.payload + 8 + (int64) (uint32_t) in.readIntBigEndian();
        }
    }

    bool readAudioFile (const juce::File& file, AudioFileContents& contents, juce::String& error)
    {
        const auto name = file.getFullPathName();

        // Opened so that a pipe cannot make it wait for a writer.
        int64 size = 0;
        juce::String opening;
        const int handle = openInputFile (file, std::numeric_limits<int64>::max(), size, opening);
        if (handle < 0)
        {
            error = "cannot read the input file " + name + ": " + opening;
            return false;
        }

        auto stream = std::make_unique<HandleInputStream> (handle, size);

        const auto fileSize = stream->getTotalLength();
        FileLayout layout;
        juce::String problem;

        if (fileSize < 12 || ! findContainer (*stream, layout))
            problem = "it is neither a WAV nor an AIFF file";
        else if (scanChunks (*stream, fileSize, layout, problem))
            problem = checkSampleFormat (*stream, layout);

        if (problem.isNotEmpty())
        {
            error = "cannot read " + name + " as audio: " + problem;
            return false;
        }

        const auto frameStart = firstFrameOffset (*stream, layout);
        const auto soundEnd = std::min (layout.readableEnd, layout.sound.payload + layout.sound.size);

        // The reader sees the file only as far as it is sound.
        stream->setPosition (0);
        std::unique_ptr<juce::AudioFormat> format;
        if (layout.isWav)
            format = std::make_unique<juce::WavAudioFormat>();
        else
            format = std::make_unique<juce::AiffAudioFormat>();

        std::unique_ptr<juce::AudioFormatReader> reader (
            format->createReaderFor (new juce::SubregionStream (stream.release(), 0, layout.readableEnd, true), true));

        if (reader == nullptr)
        {
            error = "cannot read " + name + " as audio: its " + format->getFormatName() + " header is not valid";
            return false;
        }

        if (reader->numChannels < 1 || reader->numChannels > 2)
        {
            error = file.getFileName() + " has " + juce::String (reader->numChannels) + " channels; mono and stereo are supported";
            return false;
        }

        const auto bytesPerFrame = (int64) reader->numChannels * (int64) (reader->bitsPerSample / 8);
        const auto framesHeld = std::max<int64> (0, soundEnd - frameStart) / std::max<int64> (1, bytesPerFrame);
        const auto frames = std::min (reader->lengthInSamples, framesHeld);

        if (frames <= 0)
        {
            error = "cannot read " + name + " as audio: it holds no sample frames";
            return false;
        }

        if (frames > (int64) std::numeric_limits<int>::max())
        {
            error = file.getFileName() + " is too long";
            return false;
        }

        if (reader->lengthInSamples > framesHeld)
            contents.warning = file.getFileName() + " is truncated: its header announces " + juce::String (reader->lengthInSamples)
                               + " sample frames, the file holds " + juce::String (framesHeld) + "; only those are rendered";

        contents.audio.setSize ((int) reader->numChannels, (int) frames);
        if (! reader->read (&contents.audio, 0, (int) frames, 0, true, true))
        {
            error = "reading " + name + " failed";
            return false;
        }

        contents.sampleRate = reader->sampleRate;
        return true;
    }
}
