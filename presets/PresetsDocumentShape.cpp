#include "presets/PresetsDocumentShape.h"

#include <cstring>

namespace
{
    /** The characters JUCE's XML parser takes into tag and attribute names. */
    bool isNameCharacter (juce::juce_wchar c)
    {
        if (c < 128)
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                || c == '_' || c == '-' || c == ':' || c == '.';

        return c >= 160 && juce::CharacterFunctions::isLetterOrDigit (c);
    }

    /** As JUCE's parser skips white space (the library's isWhitespace), with
        the common characters decided without a library call. */
    bool isWhiteSpace (juce::juce_wchar c)
    {
        if (c < 128)
            return c == ' ' || (c >= '\t' && c <= '\r');

        return juce::CharacterFunctions::isWhitespace (c);
    }

    /** One pass over the text; each step either advances past what it accepts
        or records the first fault and its place. */
    class ShapeScanner
    {
    public:
        ShapeScanner (const juce::String& textToCheck, juce::StringArray* entryTagNames)
            : start (textToCheck.getCharPointer()), p (start), entryNames (entryTagNames) {}

        juce::Result run()
        {
            skipMisc (true);

            if (startsWith ("<!DOCTYPE"))
            {
                skipDoctype();
                skipMisc (true);
            }

            if (ok() && *p != '<')
                fail (p.isEmpty() ? "no document element" : "text before the document element");

            if (ok())
                element (true);

            skipMisc (false);

            if (ok() && ! p.isEmpty())
                fail ("something after the end of the document element");

            if (ok())
                return juce::Result::ok();

            return juce::Result::fail ("line " + juce::String (lineOfFault()) + ": " + fault);
        }

    private:
        bool ok() const noexcept    { return fault.isEmpty(); }

        void fail (const juce::String& what)
        {
            if (ok())
            {
                fault = what;
                faultAt = p;
            }
        }

        bool startsWith (const char* literal) const
        {
            auto q = p;

            for (auto* c = literal; *c != 0; ++c, ++q)
                if (*q != (juce::juce_wchar) (unsigned char) *c)
                    return false;

            return true;
        }

        /** Moves past `terminator`; a fault when the text ends first. */
        void skipPast (const char* terminator, const char* whatIsUnterminated)
        {
            const auto offset = p.indexOf (juce::CharPointer_ASCII (terminator));

            if (offset < 0)
            {
                fail (whatIsUnterminated);
                return;
            }

            p += offset + (int) std::strlen (terminator);
        }

        void skipWhiteSpace()
        {
            while (isWhiteSpace (*p))
                ++p;
        }

        /** White space and comments, and where `allowInstructions` says so,
            processing instructions such as the XML declaration. */
        void skipMisc (bool allowInstructions)
        {
            while (ok())
            {
                skipWhiteSpace();

                if (startsWith ("<!--"))
                    skipPast ("-->", "a comment without its end");
                else if (allowInstructions && startsWith ("<?"))
                    skipPast ("?>", "a processing instruction without its end");
                else
                    return;
            }
        }

        /** As JUCE's parser reads it: up to the '>' that balances its '<'. */
        void skipDoctype()
        {
            for (int depth = 0;;)
            {
                const auto c = p.getAndAdvance();

                if (c == 0)
                {
                    --p;
                    fail ("a DOCTYPE without its end");
                    return;
                }

                if (c == '<')
                    ++depth;
                else if (c == '>' && --depth == 0)
                    return;
            }
        }

        juce::String readName()
        {
            const auto nameStart = p;

            while (isNameCharacter (*p))
                ++p;

            return juce::String (nameStart, p);
        }

        /** '<' name attributes, then "/>" or ">" content "</" name ">". The
            document element holds entries; entries hold nothing. */
        void element (bool isDocumentElement)
        {
            ++p;   // '<'
            const auto name = readName();

            if (name.isEmpty())
                return fail ("a tag without a name");

            if (! isDocumentElement && entryNames != nullptr)
                entryNames->add (name);

            if (! attributes())
                return;

            if (startsWith ("/>"))
            {
                p += 2;
                return;
            }

            ++p;   // '>'

            for (;;)
            {
                skipMisc (false);

                if (! ok())
                    return;

                if (startsWith ("</"))
                    break;

                if (*p == '<' && isDocumentElement && isNameCharacter (p[1]))
                    element (false);
                else if (p.isEmpty())
                    return fail ("the end tag of <" + name + "> is missing");
                else
                    return fail (isDocumentElement ? "something other than an entry inside <" + name + ">"
                                                   : "something inside the entry <" + name + ">");

                if (! ok())
                    return;
            }

            p += 2;

            if (readName() != name)
                return fail ("an end tag that does not match <" + name + ">");

            skipWhiteSpace();

            if (*p != '>')
                return fail ("an end tag that does not match <" + name + ">");

            ++p;
        }

        /** name="value" or name='value' pairs up to "/>" or ">". */
        bool attributes()
        {
            for (;;)
            {
                skipWhiteSpace();

                if (*p == '>' || startsWith ("/>"))
                    return true;

                if (readName().isEmpty())
                {
                    fail (p.isEmpty() ? "the text ends inside a tag" : "a character that does not belong in a tag");
                    return false;
                }

                skipWhiteSpace();

                if (*p != '=')
                {
                    fail ("an attribute without '=' and a value");
                    return false;
                }

                ++p;
                skipWhiteSpace();
                const auto quote = *p;

                if (quote != '"' && quote != '\'')
                {
                    fail ("an attribute value without quotes");
                    return false;
                }

                ++p;

                while (*p != quote && ! p.isEmpty())
                    ++p;

                if (p.isEmpty())
                {
                    fail ("an attribute value without its closing quote");
                    return false;
                }

                ++p;
            }
        }

        int lineOfFault() const
        {
            int line = 1;

            for (auto q = start; q != faultAt && ! q.isEmpty(); ++q)
                if (*q == '\n')
                    ++line;

            return line;
        }

        const juce::String::CharPointerType start;
        juce::String::CharPointerType p, faultAt { start };
        juce::String fault;
        juce::StringArray* const entryNames;
    };
}

juce::Result checkPresetsDocumentShape (const juce::String& text, juce::StringArray* entryTagNames)
{
    return ShapeScanner (text, entryTagNames).run();
}
