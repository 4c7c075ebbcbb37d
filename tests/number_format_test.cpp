#include <gtest/gtest.h>
#include <string>
#include <tuple>

#include "runtime/number_format.h"

using namespace wienbridge;

TEST(NumberFormat, FourDigitsWithAPrefixOrScientificAndFixedUpTo15IntegerDigits)
{
    using Format = std::string (*)(double);
    const Format hertz = [](double v) { return formatEngineering(v, "Hz", ","); };
    const Format bare = [](double v) { return formatSignificant(v, ","); };
    const Format twoDecimals = [](double v) { return formatFixedOrScientific(v, 2, ","); };
    const Format threeDecimals = [](double v) { return formatFixedOrScientific(v, 3, ","); };
    for (auto [format, value, text] : {std::tuple{hertz, 1591.5, "1,592 kHz"},
                                       {hertz, 0.00015915, "159,2 \u00b5Hz"},  // the typed digits round up
                                       {hertz, -1592.5, "-1,593 kHz"},
                                       {hertz, 0, "0,000 Hz"},
                                       {hertz, 999.96, "1,000 kHz"},
                                       {hertz, 0.99996e-9, "1,000 nHz"},
                                       {hertz, 999.96e9, "1,000E+12 Hz"},
                                       {hertz, -2.3e18, "-2,300E+18 Hz"},
                                       {hertz, 1.5e-10, "1,500E-10 Hz"},
                                       {bare, 0.02651, "0,02651"},
                                       {bare, 33.5, "33,50"},
                                       {bare, 999999999.9, "1,000E+09"},
                                       {twoDecimals, 1.8339e21, "1,83E+21"},
                                       {threeDecimals, 1.234e18, "1,234E+18"},
                                       {twoDecimals, 1e15, "1,00E+15"},
                                       {threeDecimals, 999999999999999.875, "999999999999999,875"},
                                       {twoDecimals, -1e15, "-1,00E+15"},
                                       {twoDecimals, -0.001, "0,00"}})
        EXPECT_EQ(format(value), text) << value;
}
