// A host that calls Initialize a second time without Uninitialize gets an
// error, and the effect keeps working with what the first call set up.
#include "AAX_CEffectParameters.h"
#include "AAX_CLinearTaperDelegate.h"
#include "AAX_CNumberDisplayDelegate.h"
#include "AAX_CParameter.h"
#include "AAX_Errors.h"

#include "LibraryHost.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace
{
    using librarytest::InstanceHost;

    class OneParameterEffect : public AAX_CEffectParameters
    {
    public:
        int initCalls = 0;

        AAX_Result EffectInit() override
        {
            ++initCalls;
            mParameterManager.AddParameter (new AAX_CParameter<float> ("gain", AAX_CString ("Gain"), 0.5f,
                                                                       AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f),
                                                                       AAX_CNumberDisplayDelegate<float, 3, 0>(), true));
            return AAX_SUCCESS;
        }
    };

    bool Contains (const std::vector<std::string>& calls, const std::string& call)
    {
        return std::find (calls.begin(), calls.end(), call) != calls.end();
    }
}

TEST (RepeatedInitialize, IsRefusedAndTheFirstSetUpKeepsWorking)
{
    InstanceHost host;

    {
        OneParameterEffect effect;
        host.AttachEffect (&effect);
        ASSERT_EQ (effect.Initialize (host.Unknown()), AAX_SUCCESS);
        const int32_t referencesAfterFirst = host.Held();

        EXPECT_EQ (effect.Initialize (host.Unknown()), AAX_ERROR_INVALID_ARGUMENT);
        EXPECT_EQ (effect.initCalls, 1);
        EXPECT_EQ (host.Held(), referencesAfterFirst);

        // The parameter still reaches the host through the wrapper it was given.
        host.ClearRecords();
        EXPECT_EQ (effect.SetParameterNormalizedValue ("gain", 0.25), AAX_SUCCESS);
        EXPECT_TRUE (Contains (host.AutomationCalls(), "set gain 0.25"));

        // After Uninitialize a new Initialize is welcome again.
        EXPECT_EQ (effect.Uninitialize(), AAX_SUCCESS);
        EXPECT_EQ (effect.Initialize (host.Unknown()), AAX_SUCCESS);
        EXPECT_EQ (effect.initCalls, 2);
        effect.Uninitialize();
    }

    EXPECT_EQ (host.Unbalanced(), "");
}
