#include <gtest/gtest.h>

#include "ratio_presets.h"
#include "runtime_error.h"

using namespace wienbridge;

TEST(RatioPresets, FixedPresetsWriteTheirRatioInBlue)
{
    ModuleState state;
    const struct {
        RatioPreset preset;
        double ratio;
        const char* text;
    } cases[] = {{RatioPreset::Two, 2, "2.00"}, {RatioPreset::Three, 3, "3.00"}, {RatioPreset::One, 1, "1.00"}};
    for (const auto& c : cases) {
        // The typed text plays no part in a fixed preset.
        EXPECT_EQ(applyRatioPreset(state, c.preset, "7.5"), RatioTextColour::Blue);
        EXPECT_EQ(state.Ratio, c.ratio);
        EXPECT_EQ(state.RatioText, c.text);
    }
}

TEST(RatioPresets, TypedRatioIsReadAndRewrittenInBlack)
{
    ModuleState state;
    const struct {
        const char* typed;
        double ratio;
        const char* text;
    } cases[] = {
        {"1,5", 1, "1.00"},     // reading stops at the comma
        {"12.5", 12.5, "12.50"},
        {"", 0, "0.00"},
        {"  2.005", 2.005, "2.00"},
        {"-1", -1, "-1.00"},
        {"abc", 0, "0.00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(applyRatioPreset(state, RatioPreset::Typed, c.typed), RatioTextColour::Black) << c.typed;
        EXPECT_EQ(state.Ratio, c.ratio) << c.typed;
        EXPECT_EQ(state.RatioText, c.text) << c.typed;
    }
}

TEST(RatioPresets, OverflowingTypedRatioLeavesTheStateAlone)
{
    ModuleState state;
    applyRatioPreset(state, RatioPreset::Two, "");
    try {
        applyRatioPreset(state, RatioPreset::Typed, "1e999");
        FAIL() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Overflow);
    }
    EXPECT_EQ(state.Ratio, 2);
    EXPECT_EQ(state.RatioText, "2.00");
}
