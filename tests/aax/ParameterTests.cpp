#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_CParameterManager.h"
#include "AAX_CString.h"

#include "LibraryHost.h"

#include "AAX_VAutomationDelegate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{
    using librarytest::TestHost;

    /** The host's automation of one instance, reached through the library's
        wrapper as a parameter reaches it. */
    struct HostAutomation
    {
        TestHost host;
        zelkhost::HostController& controller { host.makeController ({}) };
        AAX_VAutomationDelegate delegate { &controller };

        std::vector<std::string> calls() const { return controller.automation().calls(); }
        void clear() { controller.automation().clearRequests(); }
    };

    /** The host whose services receive the library's reports while it lives. */
    struct ScopedHostServices
    {
        TestHost host;
        librarytest::ScopedStartup startup { host };

        std::vector<zelkhost::AssertRecord> Asserts() { return host.services().asserts(); }
        void ClearRecords() { host.services().clear(); }
    };
    using FloatParameter = AAX_CParameter<float>;
    using Taper = AAX_CLinearTaperDelegate<float, 0>;
    using Display = AAX_CNumberDisplayDelegate<float, 3, 0>;

    std::unique_ptr<FloatParameter> MakeParameter (const char* id = "gain", float minValue = 0.0f,
                                                   float maxValue = 1.0f, float defaultValue = 0.0f)
    {
        return std::make_unique<FloatParameter> (id, AAX_CString ("Gain"), defaultValue,
                                                 Taper (minValue, maxValue), Display(), true);
    }

    std::string ValueText (const FloatParameter& parameter, int32_t maxChars)
    {
        AAX_CString text;
        parameter.GetValueString (maxChars, &text);
        return text.Get();
    }
}

//==============================================================================
TEST (StringTests, NullTextMaxLengthAndComparisons)
{
    const AAX_CString empty (static_cast<const char*> (nullptr));
    EXPECT_EQ (empty.Length(), 0u);
    EXPECT_STREQ (empty.Get(), "");
    EXPECT_EQ (empty.MaxLength(), 4294967294u);

    AAX_CString text ("Low Pass");
    EXPECT_TRUE (text != "Low");
    EXPECT_TRUE (text == AAX_CString ("Low Pass"));
    EXPECT_EQ (text[20], '\0'); // past the end reads a NUL, not foreign memory

    text.Erase (3, 100);
    EXPECT_STREQ (text.Get(), "Low");
    text.Erase (10, 1);
    EXPECT_STREQ (text.Get(), "Low");

    AAX_CString part;
    AAX_CString ("frequency").SubString (4, 3, &part);
    EXPECT_STREQ (part.Get(), "uen");
    AAX_CString ("abc").SubString (9, 3, &part);
    EXPECT_STREQ (part.Get(), "");
}

TEST (StringTests, NumbersInAndOut)
{
    AAX_CString text ("x=");
    text.AppendNumber (0.5, 3);
    EXPECT_STREQ (text.Get(), "x=0.500");

    double value = 99.0;
    EXPECT_TRUE (AAX_CString ("  2.5 dB").ToDouble (&value));
    EXPECT_DOUBLE_EQ (value, 2.5);

    EXPECT_FALSE (AAX_CString ("loud").ToDouble (&value));
    EXPECT_EQ (value, 0.0);
    EXPECT_FALSE (AAX_CString ("").ToDouble (&value));
    EXPECT_FALSE (AAX_CString ("1e999").ToDouble (&value));
}

//==============================================================================
TEST (TaperTests, LinearMappingClampsAndHandlesAnEmptyRange)
{
    const Taper taper (20.0f, 20000.0f);
    EXPECT_FLOAT_EQ (taper.NormalizedToReal (0.5), 10010.0f);
    EXPECT_DOUBLE_EQ (taper.RealToNormalized (30000.0f), 1.0);
    EXPECT_DOUBLE_EQ (taper.RealToNormalized (0.0f), 0.0);
    EXPECT_FLOAT_EQ (taper.NormalizedToReal (-3.0), 20.0f);

    const Taper flat (5.0f, 5.0f);
    EXPECT_DOUBLE_EQ (flat.RealToNormalized (-100.0f), 0.5);
    EXPECT_DOUBLE_EQ (flat.RealToNormalized (5.0f), 0.5);
    EXPECT_FLOAT_EQ (flat.NormalizedToReal (0.9), 5.0f);

    const Taper reversed (10.0f, 0.0f);
    EXPECT_FLOAT_EQ (reversed.ConstrainRealValue (20.0f), 10.0f);
    EXPECT_FLOAT_EQ (reversed.NormalizedToReal (0.25), 7.5f);
}

TEST (TaperTests, NotANumberBecomesTheMinimum)
{
    const Taper taper (-12.0f, 12.0f);
    EXPECT_FLOAT_EQ (taper.NormalizedToReal (std::nan ("")), -12.0f);
    EXPECT_DOUBLE_EQ (taper.RealToNormalized (std::numeric_limits<float>::quiet_NaN()), 0.0);
}

TEST (DisplayTests, CutTextsLoseATrailingDot)
{
    const Display display;
    AAX_CString text;

    EXPECT_TRUE (display.ValueToString (0.5f, &text));
    EXPECT_STREQ (text.Get(), "0.500");

    display.ValueToString (1.5f, 3, &text);
    EXPECT_STREQ (text.Get(), "1.5");
    display.ValueToString (12.25f, 3, &text);
    EXPECT_STREQ (text.Get(), "12");
    display.ValueToString (12.25f, 0, &text);
    EXPECT_STREQ (text.Get(), "");
    display.ValueToString (12.25f, -4, &text);
    EXPECT_STREQ (text.Get(), "");
    display.ValueToString (12.25f, 40, &text);
    EXPECT_STREQ (text.Get(), "12.250");
}

TEST (DisplayTests, ParsingFailsCleanlyAndSaturatesHugeNumbers)
{
    const Display display;
    float value = 3.0f;

    EXPECT_FALSE (display.StringToValue (AAX_CString ("abc"), &value));
    EXPECT_EQ (value, 0.0f);

    EXPECT_TRUE (display.StringToValue (AAX_CString ("1e300"), &value));
    EXPECT_TRUE (std::isinf (value));
}

//==============================================================================
TEST (ParameterTests, NewParameterHoldsItsDefaultWith128Steps)
{
    auto parameter = MakeParameter ("freq", 20.0f, 20000.0f, 1000.0f);

    float value = 0.0f;
    EXPECT_TRUE (parameter->GetValueAsFloat (&value));
    EXPECT_FLOAT_EQ (value, 1000.0f);
    EXPECT_EQ (parameter->GetNumberOfSteps(), 128u);
    EXPECT_EQ (parameter->GetType(), AAX_eParameterType_Continuous);
    EXPECT_TRUE (parameter->Automatable());
    EXPECT_STREQ (parameter->Identifier(), "freq");
}

TEST (ParameterTests, OtherValueTypesAreRefused)
{
    auto parameter = MakeParameter();
    parameter->SetValueWithFloat (0.75f);

    bool boolValue = true;
    int32_t intValue = 5;
    double doubleValue = 5.0;
    double normalized = 9.0;

    EXPECT_FALSE (parameter->GetValueAsBool (&boolValue));
    EXPECT_FALSE (parameter->GetValueAsInt32 (&intValue));
    EXPECT_FALSE (parameter->GetValueAsDouble (&doubleValue));
    EXPECT_FALSE (parameter->SetValueWithBool (false));
    EXPECT_FALSE (parameter->SetValueWithInt32 (0));
    EXPECT_FALSE (parameter->SetValueWithDouble (0.0));
    EXPECT_FALSE (parameter->GetNormalizedValueFromInt32 (1, &normalized));
    EXPECT_FALSE (parameter->GetDoubleFromNormalizedValue (0.5, &doubleValue));
    EXPECT_TRUE (boolValue);
    EXPECT_EQ (intValue, 5);
    EXPECT_EQ (normalized, 9.0);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.75);
}

TEST (ParameterTests, StepConversions)
{
    auto parameter = MakeParameter();
    parameter->SetNumberOfSteps (5);

    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (0.6), 2u);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (0.63), 3u);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (1.7), 4u);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (-0.5), 0u);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (std::nan ("")), 0u);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValueFromStep (7), 1.0);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValueFromStep (1), 0.25);

    parameter->SetStepValue (3);
    EXPECT_EQ (parameter->GetStepValue(), 3u);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.75);

    parameter->SetNumberOfSteps (1);
    EXPECT_EQ (parameter->GetStepValueFromNormalizedValue (0.6), 0u);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValueFromStep (7), 0.0);
    parameter->SetStepValue (0);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.75);
}

TEST (ParameterTests, ZeroStepsAreRefusedWithAnAssertionReport)
{
    ScopedHostServices host;
    auto parameter = MakeParameter();
    parameter->SetNumberOfSteps (9);
    host.ClearRecords();

    parameter->SetNumberOfSteps (0);

    EXPECT_EQ (parameter->GetNumberOfSteps(), 9u);
    ASSERT_EQ (host.Asserts().size(), 1u);
    EXPECT_EQ (host.Asserts()[0].note, "0 < numSteps");
    EXPECT_NE (host.Asserts()[0].file.find ("Interfaces/AAX_CParameter"), std::string::npos);
    EXPECT_EQ (host.Asserts()[0].flags, 1);
}

TEST (ParameterTests, LongIdentifierIsCutTo31CharactersAfterOneReport)
{
    ScopedHostServices host;
    const std::string longID (40, 'x');

    auto parameter = MakeParameter (longID.c_str());

    EXPECT_EQ (std::string (parameter->Identifier()), std::string (31, 'x'));
    ASSERT_EQ (host.Asserts().size(), 1u);
    EXPECT_EQ (host.Asserts()[0].note, "len < eParemeterDefaultMaxIdentifierSize");

    std::unique_ptr<AAX_IParameterValue> snapshot (parameter->CloneValue());
    EXPECT_EQ (std::string (snapshot->Identifier()), std::string (31, 'x'));
    EXPECT_EQ (host.Asserts().size(), 1u);

    auto exact = MakeParameter (std::string (31, 'y').c_str());
    EXPECT_EQ (std::string (exact->Identifier()), std::string (31, 'y'));
    EXPECT_EQ (host.Asserts().size(), 1u);
}

TEST (ParameterTests, ShortenedNameSelection)
{
    auto parameter = MakeParameter();
    parameter->SetName (AAX_CString ("Output Level"));   // 12 characters
    EXPECT_STREQ (parameter->ShortenedName (6).Get(), "Output Level"); // no shortened names yet

    parameter->AddShortenedName (AAX_CString ("Outp"));
    parameter->AddShortenedName (AAX_CString ("OutLevel"));

    EXPECT_STREQ (parameter->ShortenedName (6).Get(), "Outp");
    EXPECT_STREQ (parameter->ShortenedName (2).Get(), "Outp");
    EXPECT_STREQ (parameter->ShortenedName (8).Get(), "OutLevel");
    EXPECT_STREQ (parameter->ShortenedName (20).Get(), "Output Level");
    EXPECT_STREQ (parameter->ShortenedName (-1).Get(), "Output Level");

    parameter->AddShortenedName (AAX_CString ("Levl"));   // same length replaces
    EXPECT_STREQ (parameter->ShortenedName (5).Get(), "Levl");

    parameter->ClearShortenedNames();
    EXPECT_STREQ (parameter->ShortenedName (5).Get(), "Output Level");
}

TEST (ParameterTests, TextsConvertBothWays)
{
    auto parameter = MakeParameter ("gain", -10.0f, 10.0f, 0.0f);

    EXPECT_TRUE (parameter->SetValueFromString (AAX_CString ("2.5")));
    EXPECT_EQ (ValueText (*parameter, 10), "2.500");

    EXPECT_FALSE (parameter->SetValueFromString (AAX_CString ("loud")));
    EXPECT_EQ (ValueText (*parameter, 10), "2.500");

    EXPECT_TRUE (parameter->SetValueFromString (AAX_CString ("1e300")));
    EXPECT_EQ (ValueText (*parameter, 10), "10.000");

    double normalized = 7.0;
    EXPECT_FALSE (parameter->GetNormalizedValueFromString (AAX_CString ("?"), &normalized));
    EXPECT_EQ (normalized, 7.0);
    EXPECT_TRUE (parameter->GetNormalizedValueFromString (AAX_CString ("5"), &normalized));
    EXPECT_DOUBLE_EQ (normalized, 0.75);

    AAX_CString text;
    EXPECT_TRUE (parameter->GetStringFromNormalizedValue (0.25, text));
    EXPECT_STREQ (text.Get(), "-5.000");
    EXPECT_TRUE (parameter->GetStringFromNormalizedValue (0.25, 3, text));
    EXPECT_STREQ (text.Get(), "-5");

    EXPECT_FALSE (parameter->GetValueAsString (nullptr));
    AAX_CString current;
    EXPECT_TRUE (parameter->GetValueAsString (&current));
    EXPECT_STREQ (current.Get(), "10.000");

    EXPECT_TRUE (parameter->SetValueWithString (AAX_CString ("-1")));
    EXPECT_EQ (ValueText (*parameter, 10), "-1.000");
}

TEST (ParameterTests, DefaultValueIsConstrainedAndRestorable)
{
    auto parameter = MakeParameter ("gain", 0.0f, 100.0f, 50.0f);

    parameter->SetNormalizedDefaultValue (0.2);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedDefaultValue(), 0.2);

    parameter->SetNormalizedDefaultValue (4.0);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedDefaultValue(), 1.0);

    parameter->SetValueWithFloat (10.0f);
    parameter->SetToDefaultValue();
    EXPECT_EQ (ValueText (*parameter, 10), "100.000");
}

//==============================================================================
TEST (ParameterAutomationTests, WithADelegateValuesWaitForTheHostsAnswer)
{
    HostAutomation automation;
    auto parameter = MakeParameter();
    parameter->SetAutomationDelegate (&automation.delegate);
    ASSERT_EQ (automation.calls(), std::vector<std::string> { "register gain" });
    automation.clear();

    parameter->SetNormalizedValue (0.25);

    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.0);
    EXPECT_EQ (automation.calls(), (std::vector<std::string> { "touch gain", "set gain 0.25", "release gain" }));

    automation.clear();
    parameter->UpdateNormalizedValue (0.25);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.25);
    EXPECT_EQ (automation.calls(), std::vector<std::string> { "current gain 0.25" });
}

TEST (ParameterAutomationTests, UnchangedUpdatePostsNothing)
{
    HostAutomation automation;
    auto parameter = MakeParameter ("gain", 0.0f, 1.0f, 0.5f);
    parameter->SetAutomationDelegate (&automation.delegate);
    automation.clear();

    parameter->UpdateNormalizedValue (0.5);
    EXPECT_TRUE (automation.calls().empty());

    parameter->UpdateNormalizedValue (std::nan (""));   // read as the minimum: a change
    EXPECT_EQ (automation.calls().size(), 1u);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.0);
}

TEST (ParameterAutomationTests, WithoutADelegateChangesApplyAtOnce)
{
    auto parameter = MakeParameter();

    parameter->SetNormalizedValue (0.25);
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.25);

    parameter->SetNormalizedValue (0.25);   // same value again: still fine, nothing to post to
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 0.25);

    parameter->SetValueWithFloat (7.0f);    // clamped by the taper
    EXPECT_DOUBLE_EQ (parameter->GetNormalizedValue(), 1.0);
}

TEST (ParameterAutomationTests, ReplacingTheTaperKeepsValueOrPosition)
{
    HostAutomation automation;
    auto parameter = MakeParameter ("gain", 0.0f, 10.0f, 5.0f);
    parameter->SetAutomationDelegate (&automation.delegate);
    automation.clear();

    Taper wider (0.0f, 20.0f);
    parameter->SetTaperDelegate (wider, false);   // position 0.5 stays, real value follows

    float value = 0.0f;
    parameter->GetValueAsFloat (&value);
    EXPECT_FLOAT_EQ (value, 10.0f);
    EXPECT_EQ (automation.calls(), std::vector<std::string> { "current gain 0.5" });

    automation.clear();
    Taper narrower (0.0f, 40.0f);
    parameter->SetTaperDelegate (narrower, true);  // real value 10 stays: asks the host for 0.25
    EXPECT_EQ (automation.calls(), (std::vector<std::string> { "touch gain", "set gain 0.25", "release gain" }));

    automation.clear();
    parameter->UpdateNormalizedValue (0.25);      // need-notify set: posted even though unchanged
    EXPECT_EQ (automation.calls(), std::vector<std::string> { "current gain 0.25" });
}

TEST (ParameterAutomationTests, DestructionUnregistersFromTheDelegate)
{
    HostAutomation automation;
    HostAutomation replacement;

    {
        auto parameter = MakeParameter ("mix");
        parameter->SetAutomationDelegate (&automation.delegate);
        parameter->SetAutomationDelegate (&replacement.delegate);
    }

    EXPECT_EQ (automation.calls(), (std::vector<std::string> { "register mix", "unregister mix" }));
    EXPECT_EQ (replacement.calls(), (std::vector<std::string> { "register mix", "unregister mix" }));
}

//==============================================================================
TEST (ParameterManagerTests, DuplicateAndNullParametersAreIgnored)
{
    HostAutomation automation;
    AAX_CParameterManager manager;
    manager.Initialize (&automation.delegate);

    manager.AddParameter (MakeParameter ("a").release());
    manager.AddParameter (MakeParameter ("b").release());
    manager.AddParameter (nullptr);

    auto duplicate = MakeParameter ("a");
    manager.AddParameter (duplicate.get());   // stays ours: the unique_ptr deletes it

    EXPECT_EQ (manager.NumParameters(), 2);
    EXPECT_NE (manager.GetParameterByID ("a"), duplicate.get());
    EXPECT_EQ (duplicate->AutomationDelegate(), nullptr);
    EXPECT_EQ (automation.calls(), (std::vector<std::string> { "register a", "register b" }));
}

TEST (ParameterManagerTests, LookupsByIDAndIndex)
{
    AAX_CParameterManager manager;
    manager.AddParameter (MakeParameter ("a").release());
    manager.AddParameter (MakeParameter ("b").release());

    EXPECT_EQ (manager.GetParameterIndex ("b"), 1);
    EXPECT_EQ (manager.GetParameterIndex ("c"), -1);
    EXPECT_EQ (manager.GetParameterIndex (nullptr), -1);
    EXPECT_EQ (manager.GetParameterByID (nullptr), nullptr);
    EXPECT_EQ (manager.GetParameterByID ("B"), nullptr);
    EXPECT_STREQ (manager.GetParameterByIndex (0)->Identifier(), "a");
    EXPECT_EQ (manager.GetParameterByIndex (-1), nullptr);
    EXPECT_EQ (manager.GetParameterByIndex (2), nullptr);

    const AAX_CParameterManager& constManager = manager;
    EXPECT_EQ (constManager.GetParameterByID ("a"), manager.GetParameterByIndex (0));
}

TEST (ParameterManagerTests, RemoveAllDeletesInOrderAndUnregisters)
{
    HostAutomation automation;
    AAX_CParameterManager manager;
    manager.Initialize (&automation.delegate);
    manager.AddParameter (MakeParameter ("a").release());
    manager.AddParameter (MakeParameter ("b").release());
    automation.clear();

    manager.RemoveAllParameters();

    EXPECT_EQ (manager.NumParameters(), 0);
    EXPECT_EQ (manager.GetParameterByID ("a"), nullptr);
    EXPECT_EQ (automation.calls(), (std::vector<std::string> { "unregister a", "unregister b" }));
}
