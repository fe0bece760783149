// The ink consumption captions of the cleaning and ink charge pages by model.
#include <gtest/gtest.h>

#include "adjust/InkConsumptionCaptions.h"

namespace {

TEST(InkConsumptionCaptions, TheK32NamesItsThreeCartridgesAndShowsTheSecondColour) {
    const InkConsumptionCaptions captions = InkConsumptionCaptionsFor(2);
    EXPECT_TRUE(captions.colorSShown);
    EXPECT_EQ(captions.cleaningBlack, "R2281 : About 8% of bland-new I/C.");
    EXPECT_EQ(captions.cleaningColorM, "R228x : About 3% of bland-new I/C.");
    EXPECT_EQ(captions.cleaningColorS, "R229x : About 4% of bland-new I/C.");
    EXPECT_EQ(captions.inkChargeBlack, "R2281 : About 23% of bland-new I/C.");
    EXPECT_EQ(captions.inkChargeColorM, "R228x : About 8% of bland-new I/C.");
    EXPECT_EQ(captions.inkChargeColorS, "R229x : About 12% of bland-new I/C.");
}

TEST(InkConsumptionCaptions, TheK31AndUnknownModelsHideTheSecondColour) {
    for (const uint8_t model : {1, 0, 3, 255}) {
        const InkConsumptionCaptions captions = InkConsumptionCaptionsFor(model);
        EXPECT_FALSE(captions.colorSShown) << int(model);
        EXPECT_EQ(captions.cleaningBlack, "About 8% of bland-new I/C.");
        EXPECT_EQ(captions.cleaningColorM, "About 3% of bland-new I/C.");
        EXPECT_EQ(captions.inkChargeBlack, "About 23% of bland-new I/C.");
        EXPECT_EQ(captions.inkChargeColorM, "About 8% of bland-new I/C.");
        EXPECT_EQ(captions.cleaningColorS, "");
        EXPECT_EQ(captions.inkChargeColorS, "");
    }
}

}  // namespace
