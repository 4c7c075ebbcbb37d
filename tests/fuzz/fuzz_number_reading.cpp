// Any bytes as the text of an input box: reading it gives 0, the number an
// independent scan finds at the start (converted by from_chars), or an
// overflow error when that number is too large for a double. With glibc it
// must also give, to the bit, what the reading gave while it used strtod_l.

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#if defined(__GLIBC__)
#include <locale.h>
#endif

#include "fuzz_check.h"
#include "number_reading.h"
#include "support/reference_model.h"

using namespace wienbridge;

namespace {

// The number at the start of text, after spaces and tabs: a walk through the
// states below, the number ending at the last Whole, Fraction or Exponent reached.
std::string leadingNumber(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
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
    // from_chars takes no plus sign and no comma.
    const std::size_t sign = text.starts_with('+') ? 1 : 0;
    std::string number(end > sign ? text.substr(sign, end - sign) : std::string_view());
    std::replace(number.begin(), number.end(), ',', '.');
    return number;
}

// strtod_l and newlocale are glibc's, so this reference exists on Linux only.
#if defined(__GLIBC__)
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
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    double value = 0;
    const std::optional<test::Failure> failure =
        test::failureOf([&] { value = readNumber(input, Quantity::CrossoverText); });
    const std::string number = leadingNumber(input);
    double expected = 0;
    const auto [end, status] = std::from_chars(number.data(), number.data() + number.size(), expected);
    fuzz::require(number.empty() || end == number.data() + number.size(), "the scan and from_chars disagree");
    // Out of range either way: too large must be an error, too small reads 0.
    const bool tooLarge =
        status == std::errc::result_out_of_range && std::isinf(std::strtod(number.c_str(), nullptr));
    if (tooLarge)
        fuzz::require(failure == test::Failure{ErrorKind::Overflow, Quantity::CrossoverText},
                      "a number too large for a double read without error");
    else if (status == std::errc::result_out_of_range)
        fuzz::require(!failure && value == 0.0, "a number too small for a double not read as 0");
    else
        fuzz::require(!failure && test::sameBits(value, expected), "a wrong number");
#if defined(__GLIBC__)
    const std::optional<double> before = strtodReading(number);
    fuzz::require(before ? !failure && test::sameBits(value, *before)
                         : failure == test::Failure{ErrorKind::Overflow, Quantity::CrossoverText},
                  "a reading unlike strtod_l's");
#endif
    return 0;
}
