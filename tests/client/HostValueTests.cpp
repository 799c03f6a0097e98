// One effect instance with a careless host: text that is not UTF-8, requests
// that the processor rounds or refuses, a second Initialize.
#include "ClientSession.h"

#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

namespace
{
    using clienttest::HostedEffect;

    /** Host text in a heap block of exactly its size, so that AddressSanitizer
        catches any read past its end. */
    struct ExactHostText : AAX_IString
    {
        explicit ExactHostText (const std::string& bytes) : size (bytes.size()), text (new char[bytes.size() + 1])
        {
            std::memcpy (text.get(), bytes.c_str(), size + 1);
        }
        uint32_t Length() const override { return (uint32_t) size; }
        uint32_t MaxLength() const override { return Length(); }
        const char* Get() const override { return text.get(); }
        void Set (const char*) override {}
        AAX_IString& operator= (const AAX_IString&) override { return *this; }
        AAX_IString& operator= (const char*) override { return *this; }
        size_t size;
        std::unique_ptr<char[]> text;
    };

    class HostValues : public ::testing::Test
    {
    protected:
        clienttest::ClientSession host;
        HostedEffect instance { host };
        zelkhost::HostAutomationDelegate& automation = instance.Controller().automation();
    };
}

TEST_F (HostValues, TextThatIsNotUtf8OrNoFiniteNumberIsRefused)
{
    // Bytes FF FE, overlong sequences (shorter decoded than stored), a cut-off
    // two- and three-byte sequence, a code point beyond U+10FFFF; numbers
    // that are not finite.
    std::string overlong;
    for (int i = 0; i < 20; ++i)
        overlong += "\xC1\xBF";

    for (const auto& [id, bytes] : std::vector<std::pair<const char*, std::string>> { { "output_plot", "\xFF\xFE" },
             { "output_plot", overlong }, { "type-1", "\xC3" }, { "output", "-6\xE2\x82" }, { "mix-1", "\xF4\x90\x80\x80" },
             { "output", "nan" }, { "gain-1", "inf dB" }, { "frequency_crossover-1", "1e39 Hz" }, { "numCrossovers", "-inf" } })
    {
        double value = -1.0;
        EXPECT_EQ (instance.Host().GetParameterValueFromString (id, &value, ExactHostText (bytes)), AAX_ERROR_INVALID_STRING_CONVERSION) << id;
        EXPECT_EQ (value, -1.0) << id;
    }

    double value = -1.0;
    EXPECT_EQ (instance.Host().GetParameterValueFromString ("type-1", &value, ExactHostText ("Tube")), AAX_SUCCESS);
    EXPECT_GT (value, 0.0);
}

TEST_F (HostValues, RoundingByTheProcessorPostsNothingAndTheAnswerSetsTheRequest)
{
    automation.setEffect (nullptr);   // the host stops answering set requests

    // Float rounding (0.3), a choice snapping to its nearest entry (0.55 -> 0.6), a switch.
    for (const auto& [id, request] : std::vector<std::pair<const char*, double>> { { "mix-1", 0.3 }, { "type-1", 0.55 }, { "active-2", 0.3 } })
    {
        const double before = instance.HostValue (id);
        ASSERT_EQ (instance.Host().SetParameterNormalizedValue (id, request), AAX_SUCCESS);
        EXPECT_EQ (instance.HostValue (id), before) << id;
        EXPECT_TRUE (automation.currentValuesFor (id).empty()) << id;

        ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue (id, request, 0), AAX_SUCCESS);
        EXPECT_EQ (automation.currentValuesFor (id), std::vector<double> { request }) << id;
    }
}

TEST_F (HostValues, AValueTheProcessorRefusesReachesTheHostOnceWithoutFlicker)
{
    ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("mix-1", 0.5, 0), AAX_SUCCESS);
    const auto mixBefore = instance.HostValue ("mix-2");
    automation.clearRequests();

    ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("mix-1", 7.0, 0), AAX_SUCCESS);
    ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("mix-2", std::nan (""), 0), AAX_SUCCESS);

    EXPECT_EQ (automation.currentValuesFor ("mix-1"), std::vector<double> { 1.0 });
    EXPECT_EQ (instance.HostValue ("mix-2"), mixBefore);
    EXPECT_TRUE (automation.currentValuesFor ("mix-2").empty());
}

TEST_F (HostValues, ASecondInitializeIsRefusedAndAutomationStillWorks)
{
    EXPECT_EQ (instance.Host().Initialize (&instance.Controller()), AAX_ERROR_INVALID_ARGUMENT);

    ASSERT_EQ (instance.Host().SetParameterNormalizedValue ("mix-3", 0.25), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (instance.HostValue ("mix-3"), 0.25);
}
