// What the host's values and texts do to one effect instance when the host
// is careless: text that is not UTF-8, requests that the processor rounds or
// refuses, a second Initialize.
#include "ClientSession.h"

#include "AAX_CString.h"
#include "AAX_Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace
{
    using clienttest::HostedEffect;

    /** Host text held in a heap block of exactly its size, so that reading
        past its end is caught by AddressSanitizer. */
    class ExactHostText : public AAX_IString
    {
    public:
        explicit ExactHostText (const std::string& bytes) : size (bytes.size()), text (new char[bytes.size() + 1])
        {
            std::copy (bytes.begin(), bytes.end(), text.get());
            text[size] = '\0';
        }

        uint32_t Length() const override { return static_cast<uint32_t> (size); }
        uint32_t MaxLength() const override { return static_cast<uint32_t> (size); }
        const char* Get() const override { return text.get(); }
        void Set (const char*) override {}
        AAX_IString& operator= (const AAX_IString&) override { return *this; }
        AAX_IString& operator= (const char*) override { return *this; }

    private:
        size_t size;
        std::unique_ptr<char[]> text;
    };

    class HostValues : public ::testing::Test
    {
    protected:
        clienttest::ClientSession host;
    };
}

TEST_F (HostValues, TextThatIsNotUtf8IsRefused)
{
    HostedEffect instance (host);

    const std::vector<std::pair<const char*, std::string>> cases {
        { "output_plot", "\xFF\xFE" },
        { "type-1", "\xC3" },               // cut-off two-byte sequence
        { "output", "-6\xE2\x82" },         // cut-off three-byte sequence
        { "frequency_crossover-1", "\xF4\x90\x80\x80" } // beyond U+10FFFF
    };

    for (const auto& [id, bytes] : cases)
    {
        double value = -1.0;
        EXPECT_EQ (instance.Host().GetParameterValueFromString (id, &value, ExactHostText (bytes)), AAX_ERROR_INVALID_STRING_CONVERSION) << id;
        EXPECT_EQ (value, -1.0) << id;
    }

    double value = -1.0;
    EXPECT_EQ (instance.Host().GetParameterValueFromString ("type-1", &value, ExactHostText ("Tube")), AAX_SUCCESS);
    EXPECT_GT (value, 0.0);
}

TEST_F (HostValues, RoundingByTheProcessorPostsNothingBeforeTheHostAnswers)
{
    HostedEffect instance (host);
    auto& automation = instance.Controller().automation();
    automation.setEffect (nullptr);   // the host stops answering set requests
    automation.clearRequests();

    // A continuous value the processor keeps as float, and a choice request
    // that the processor snaps to its nearest entry (0.55 -> 0.6).
    for (const auto& [id, request] : std::vector<std::pair<const char*, double>> { { "mix-1", 0.3 }, { "type-1", 0.55 }, { "active-2", 0.3 } })
    {
        const double before = instance.HostValue (id);
        ASSERT_EQ (instance.Host().SetParameterNormalizedValue (id, request), AAX_SUCCESS);
        EXPECT_EQ (instance.HostValue (id), before) << id;
        EXPECT_TRUE (automation.currentValuesFor (id).empty()) << id;

        // The host's answer sets its value once, to the request.
        ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue (id, request, 0), AAX_SUCCESS);
        EXPECT_EQ (automation.currentValuesFor (id), std::vector<double> { request }) << id;
    }
}

TEST_F (HostValues, AValueTheProcessorRefusesReachesTheHostOnceWithoutFlicker)
{
    HostedEffect instance (host);
    auto& automation = instance.Controller().automation();
    ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("mix-1", 0.5, 0), AAX_SUCCESS);
    const auto mixBefore = instance.HostValue ("mix-2");
    automation.clearRequests();

    ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("mix-1", 7.0, 0), AAX_SUCCESS);
    ASSERT_EQ (instance.Host().UpdateParameterNormalizedValue ("mix-2", std::nan (""), 0), AAX_SUCCESS);

    EXPECT_EQ (automation.currentValuesFor ("mix-1"), std::vector<double> { 1.0 });
    EXPECT_EQ (instance.HostValue ("mix-2"), mixBefore);
    for (const double posted : automation.currentValuesFor ("mix-2"))
        EXPECT_EQ (posted, mixBefore);
}

TEST_F (HostValues, ASecondInitializeIsRefusedAndAutomationStillWorks)
{
    HostedEffect instance (host);

    EXPECT_NE (instance.Host().Initialize (&instance.Controller()), AAX_SUCCESS);
    ASSERT_EQ (instance.Host().SetParameterNormalizedValue ("mix-3", 0.25), AAX_SUCCESS);
    EXPECT_DOUBLE_EQ (instance.HostValue ("mix-3"), 0.25);
}
