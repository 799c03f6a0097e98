#include "PresetsTestSupport.h"

#include "presets/ParameterSetXml.h"
#include "resources/tools/LayoutOnlyProcessor.h"

#include <gtest/gtest.h>

TEST (ABStateHolder, BuiltBeforeTheParameterStoreStartsEmpty)
{
    ScopedTemporaryHome home;
    PresetsTestProcessor processor;

    EXPECT_EQ (&processor, processor.abStateHolder.processor);
    EXPECT_TRUE (processor.abStateHolder.storedSet.hasTagName ("AB"));
    EXPECT_EQ (0, processor.abStateHolder.storedSet.getNumAttributes());
}

TEST (ABStateHolder, TheInitialSetAppliedRestoresDefaultsOfCapturedParametersOnly)
{
    ScopedTemporaryHome home;
    PresetsTestProcessor processor;
    processor.setPlain ("gain-4", 2.0f);
    processor.setPlain ("frequency_crossover-3", 3000.0f);
    processor.setPlain ("output_plot", 1.0f);

    applyParametersFromXml (processor.abStateHolder.storedSet, processor);

    EXPECT_FLOAT_EQ (10.0f, processor.plainValue ("gain-4"));
    EXPECT_FLOAT_EQ (2500.0f, processor.plainValue ("frequency_crossover-3"));
    EXPECT_EQ (1.0f, processor.plainValue ("output_plot"));
}

TEST (ABStateHolder, BuiltWhenParametersExistCapturesThem)
{
    LayoutOnlyProcessor processor;
    processor.parameters.getParameter ("mix-2")->setValueNotifyingHost (0.25f);

    ABStateHolder holder (processor);

    EXPECT_EQ (70, holder.storedSet.getNumAttributes());
    EXPECT_EQ (0.25, holder.storedSet.getDoubleAttribute ("mix-2"));
}
