#include <gtest/gtest.h>
#include <cfloat>
#include <clocale>

#include "runtime/number_reading.h"
#include "tests/support/reference_model.h"

using namespace wienbridge;
using test::failureOf;
using test::sameBits;

#ifdef _WIN32
constexpr const char* kItalian = "Italian_Italy.1252";  // MSVCRT's name for it; it knows no it_IT.UTF-8
#else
constexpr const char* kItalian = "it_IT.UTF-8";
#endif

// Read again under Italian, whose C library takes "," as the decimal point, so
// that a reading leaning on the C library's locale shows. Values are compared
// to the bit: a number too small for a double reads as a zero of its sign.
TEST(NumberReading, ReadsTheLeadingNumberAlikeInEveryLocale)
{
    const std::optional<double> overflow;
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"1,5", 1.5},
        {"1,5,3", 1.5},
        {",5", 0.5},
        {"-2,5abc", -2.5},
        {"1.000", 1.0},
        {"+.5", 0.5},
        {"1.e2", 100.0},
        {"2E-3", 0.002},
        {"15e", 15.0},
        {".", 0.0},
        {"", 0.0},
        {"abc", 0.0},
        {"\n5", 0.0},
        {"  \t 3", 3.0},
        {"9007199254740993", 9007199254740992.0},
        {"1.7976931348623157e308", DBL_MAX},
        {"4e-324", 4e-324},
        {"-1e-400", -0.0},
        {"1e309", overflow},
        {"1.8e308", overflow},
        {"-1e99999999999999999999", overflow},
    };
    for (const char* locale : {"C", kItalian}) {
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr)
            << "the " << locale << " locale is missing; scripts/setup.sh generates it";
        for (const auto& reading : cases) {
            SCOPED_TRACE(std::string(locale) + ": \"" + reading.text + '"');
            if (reading.value)
                EXPECT_PRED2(sameBits, readNumber(reading.text, Quantity::RatioText), *reading.value);
            else
                EXPECT_EQ(failureOf([&] { readNumber(reading.text, Quantity::RatioText); }),
                          (test::Failure{ErrorKind::Overflow, Quantity::RatioText}));
        }
    }
    std::setlocale(LC_ALL, "C");
}
