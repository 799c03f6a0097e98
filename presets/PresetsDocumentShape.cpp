#include "presets/PresetsDocumentShape.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <unordered_set>
#include <vector>

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

    /** The distinct tag and attribute names met, as views into the text.
        Entries mostly repeat the names of the entry before them in the same
        order: those are recognised by comparing them with that entry's, and
        only the rest are looked up in the set. */
    class NameCollector
    {
    public:
        void element (std::string_view tagName)
        {
            distinct.insert (tagName);
            std::swap (previousAttributes, attributes);
            attributes.clear();
        }

        void attribute (std::string_view name)
        {
            const auto index = attributes.size();

            if (index >= previousAttributes.size() || previousAttributes[index] != name)
                distinct.insert (name);

            attributes.push_back (name);
        }

        /** Adds the names in sorted order (the order of their bytes, which
            for UTF-8 is the order of JUCE's string comparison), so that
            sorting them again costs next to nothing. */
        void copyTo (juce::StringArray& names) const
        {
            std::vector<std::string_view> sorted (distinct.begin(), distinct.end());
            std::sort (sorted.begin(), sorted.end());
            names.ensureStorageAllocated (names.size() + (int) sorted.size());

            for (const auto& name : sorted)
                names.add (juce::String (juce::CharPointer_UTF8 (name.data()),
                                         juce::CharPointer_UTF8 (name.data() + name.size())));
        }

    private:
        std::unordered_set<std::string_view> distinct;
        std::vector<std::string_view> attributes, previousAttributes;
    };

    /** One pass over the text; each step either advances past what it accepts
        or records the first fault and its place. */
    class ShapeScanner
    {
    public:
        ShapeScanner (const juce::String& textToCheck, juce::StringArray* namesToPool)
            : start (textToCheck.getCharPointer()), p (start), pooledNames (namesToPool) {}

        juce::Result run()
        {
            skipMisc (true);

            // A DOCTYPE can define entities, and JUCE's parser expands them
            // without limit: one that refers to itself recurses until the
            // stack runs out. The store never writes one.
            if (ok() && startsWith ("<!DOCTYPE"))
                fail ("a DOCTYPE, which a presets file never holds");

            if (ok() && *p != '<')
                fail (p.isEmpty() ? "no document element" : "text before the document element");

            if (ok())
                element (true);

            skipMisc (false);

            if (ok() && ! p.isEmpty())
                fail ("something after the end of the document element");

            if (ok())
            {
                if (pooledNames != nullptr)
                    names.copyTo (*pooledNames);

                return juce::Result::ok();
            }

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

        bool startsWith (const char* literal) const    { return startsWith (p, literal); }

        static bool startsWith (juce::String::CharPointerType q, const char* literal)
        {
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

                // The end is looked for after the opening, as XML (and JUCE's
                // parser) reads it: "<!-->" opens a comment, it does not end one.
                if (startsWith ("<!--"))
                    p += 4, skipPast ("-->", "a comment without its end");
                else if (allowInstructions && startsWith ("<?"))
                    p += 2, skipPast ("?>", "a processing instruction without its end");
                else
                    return;
            }
        }

        /** Moves past a name and returns it as a view into the text. */
        std::string_view skipName()
        {
            const auto nameStart = p.getAddress();

            while (isNameCharacter (*p))
                ++p;

            return { nameStart, (size_t) (p.getAddress() - nameStart) };
        }

        static juce::String toString (std::string_view name)
        {
            return juce::String (juce::CharPointer_UTF8 (name.data()), juce::CharPointer_UTF8 (name.data() + name.size()));
        }

        /** '<' name attributes, then "/>" or ">" content "</" name ">". The
            document element holds entries; entries hold nothing. */
        void element (bool isDocumentElement)
        {
            ++p;   // '<'
            const auto tag = skipName();

            if (tag.empty())
                return fail ("a tag without a name");

            if (pooledNames != nullptr)
                names.element (tag);

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
                    return fail ("the end tag of <" + toString (tag) + "> is missing");
                else
                    return fail (isDocumentElement ? "something other than an entry inside <" + toString (tag) + ">"
                                                   : "something inside the entry <" + toString (tag) + ">");

                if (! ok())
                    return;
            }

            p += 2;

            if (skipName() != tag)
                return fail ("an end tag that does not match <" + toString (tag) + ">");

            skipWhiteSpace();

            if (*p != '>')
                return fail ("an end tag that does not match <" + toString (tag) + ">");

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

                const auto name = skipName();

                if (name.empty())
                {
                    fail (p.isEmpty() ? "the text ends inside a tag" : "a character that does not belong in a tag");
                    return false;
                }

                if (pooledNames != nullptr)
                    names.attribute (name);

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
                {
                    if (*p != '&')
                        ++p;
                    else if (! skipReference())
                        return false;
                }

                if (p.isEmpty())
                {
                    fail ("an attribute value without its closing quote");
                    return false;
                }

                ++p;
            }
        }

        /** Moves past the entity or character reference at the '&'. Only
            what XML itself defines is taken, and only in the forms JUCE's
            parser reads as XML does: it takes everything up to the next ';'
            anywhere as an entity name, an unknown one as nothing, and reads
            "&#1a;" or "&#xZZ;y" as some character and carries on. */
        bool skipReference()
        {
            const auto name = p + 1;

            if (*name == '#')
                return skipCharacterReference();

            for (auto* entity : { "amp;", "lt;", "gt;", "quot;", "apos;" })
            {
                if (startsWith (name, entity))
                {
                    p = name + (int) std::strlen (entity);
                    return true;
                }
            }

            fail ("an '&' that begins none of &amp; &lt; &gt; &quot; &apos; and no character reference");
            return false;
        }

        /** "&#" decimal digits ";" or "&#x" hexadecimal digits ";", naming a
            character other than NUL or a UTF-16 surrogate, up to U+10FFFF.
            Control characters are taken: JUCE's writer stores them in names
            this way ("&#1;"), so the store's own files hold them. More than
            eight digits, which only leading zeros need, are refused: JUCE's
            parser misreads longer hexadecimal ones. */
        bool skipCharacterReference()
        {
            auto q = p + 2;
            const bool hexadecimal = *q == 'x';
            juce::int64 codePoint = 0;
            int digits = 0;

            for (q += hexadecimal ? 1 : 0;; ++q)
            {
                const auto digit = hexadecimal ? juce::CharacterFunctions::getHexDigitValue (*q)
                                               : (*q >= '0' && *q <= '9' ? (int) (*q - '0') : -1);

                if (digit < 0 || ++digits > maximumReferenceDigits)
                    break;

                codePoint = codePoint * (hexadecimal ? 16 : 10) + digit;
            }

            if (digits > maximumReferenceDigits)
                fail ("a character reference of more than " + juce::String (maximumReferenceDigits) + " digits");
            else if (digits == 0 || *q != ';')
                fail (juce::String ("a character reference that is not ") + (hexadecimal ? "&#x, hexadecimal digits and ';'"
                                                                                          : "&#, decimal digits and ';'"));
            else if (codePoint == 0 || (codePoint >= 0xd800 && codePoint <= 0xdfff) || codePoint > 0x10ffff)
                fail ("a character reference to U+" + juce::String::toHexString (codePoint).toUpperCase().paddedLeft ('0', 4)
                      + ", which is no character");
            else
                p = q + 1;

            return ok();
        }

        static constexpr int maximumReferenceDigits = 8;

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
        juce::StringArray* const pooledNames;
        NameCollector names;
    };
}

juce::Result checkPresetsDocumentShape (const juce::String& text, juce::StringArray* namesToPool)
{
    return ShapeScanner (text, namesToPool).run();
}
