// Any bytes as the text of an input box: reading it gives, to the bit, what it
// gave while it used glibc's strtod_l on the number an independent scan finds
// at the start: 0 for none, an overflow error for one too large for a double.
// The reading takes the whole text exactly when the scan leaves only blanks.
// strtod_l and newlocale are glibc's, so the fuzzer builds on Linux only.

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "runtime/number_reading.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/support/reference_model.h"

using namespace wienbridge;

namespace {

struct Scanned {
    std::string number;  // for strtod, with "." as the point
    std::size_t end;     // where it ends in the text
};

// The number at the start of text, after spaces and tabs: a walk through the
// states below, the number ending at the last Whole, Fraction or Exponent reached.
Scanned leadingNumber(std::string_view text)
{
    const std::size_t blanks = std::min(text.find_first_not_of(" \t"), text.size());
    text.remove_prefix(blanks);
    enum State { Start, Sign, Whole, LonePoint, Fraction, E, ExponentSign, Exponent, Stop };
    constexpr State next[][4] = {
        // digit   + or -        . or ,     e or E
        {Whole, Sign, LonePoint, Stop},        // Start
        {Whole, Stop, LonePoint, Stop},        // Sign
        {Whole, Stop, Fraction, E},            // Whole
        {Fraction, Stop, Stop, Stop},          // LonePoint: no digits before it
        {Fraction, Stop, Stop, E},             // Fraction: digits, then a point
        {Exponent, ExponentSign, Stop, Stop},  // E
        {Exponent, Stop, Stop, Stop},          // ExponentSign
        {Exponent, Stop, Stop, Stop},          // Exponent
    };
    State at = Start;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size() && at != Stop; ++pos) {
        const char c = text[pos];
        const int column = std::isdigit(static_cast<unsigned char>(c)) ? 0
                           : (c == '+' || c == '-')                    ? 1
                           : (c == '.' || c == ',')                    ? 2
                           : (c == 'e' || c == 'E')                    ? 3
                                                                       : -1;
        at = column < 0 ? Stop : next[at][column];
        end = (at == Whole || at == Fraction || at == Exponent) ? pos + 1 : end;
    }
    std::string number(text.substr(0, end));
    std::replace(number.begin(), number.end(), ',', '.');
    return {number, blanks + end};
}

// The reading as it was until it moved to from_chars: strtod_l in the C locale
// on the scanned number, an overflow error when it gives an infinity.
std::optional<double> strtodReading(const std::string& number)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    errno = 0;
    const double value = strtod_l(number.c_str(), nullptr, cLocale);
    if (errno == ERANGE && std::isinf(value))
        return std::nullopt;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    double value = 0;
    const std::optional<test::Failure> failure =
        test::failureOf([&] { value = readNumber(input, Quantity::CrossoverText); });
    const Scanned scanned = leadingNumber(input);
    const std::optional<double> before = scanned.number.empty() ? 0.0 : strtodReading(scanned.number);
    fuzz::require(before ? !failure && test::sameBits(value, *before)
                         : failure == test::Failure{ErrorKind::Overflow, Quantity::CrossoverText},
                  "a reading unlike strtod_l's");
    const bool onlyBlanksAfter = input.find_first_not_of(" \t", scanned.end) == std::string_view::npos;
    const TextReading expected =
        !scanned.number.empty() ? (onlyBlanksAfter ? TextReading::Whole : TextReading::Partly)
        : input.find_first_not_of(" \t") == std::string_view::npos ? TextReading::Blank
                                                                   : TextReading::NoNumber;
    fuzz::require(howTextReads(input) == expected, "how much of the text is read, told wrongly");
    return 0;
}
