// Any bytes as the text of an input box: reading it gives 0, a finite number
// equal to the one an independent reading finds, or an overflow error.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "number_reading.h"
#include "runtime_error.h"
#include "support/failure.h"

using namespace wienbridge;
using reference::sameBits;

namespace {

// The characters of the number at the start of text, after spaces and tabs,
// found with a scan of its own: a walk through the states below, the number
// ending at the last Whole, Fraction or Exponent reached. Empty if none.
std::string_view leadingNumber(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));

    enum State { Start, Sign, Whole, LonePoint, Fraction, E, ExponentSign, Exponent, Stop };
    constexpr State next[][4] = {
        // digit   + or -        . or ,     e or E
        {Whole,    Sign,         LonePoint, Stop},  // Start
        {Whole,    Stop,         LonePoint, Stop},  // Sign
        {Whole,    Stop,         Fraction,  E},     // Whole
        {Fraction, Stop,         Stop,      Stop},  // LonePoint: no digits before it
        {Fraction, Stop,         Stop,      E},     // Fraction: digits, then a point
        {Exponent, ExponentSign, Stop,      Stop},  // E
        {Exponent, Stop,         Stop,      Stop},  // ExponentSign
        {Exponent, Stop,         Stop,      Stop},  // Exponent
    };
    State at = Start;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < text.size() && at != Stop; ++pos) {
        const char c = text[pos];
        const int column = (c >= '0' && c <= '9') ? 0 : (c == '+' || c == '-') ? 1
                         : (c == '.' || c == ',') ? 2 : (c == 'e' || c == 'E') ? 3 : -1;
        at = column < 0 ? Stop : next[at][column];
        if (at == Whole || at == Fraction || at == Exponent)
            end = pos + 1;
    }
    return text.substr(0, end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    double value = 0;
    bool overflowed = false;
    try {
        value = readNumber(input);
    } catch (const RuntimeError& error) {
        fuzz::require(error.kind() == ErrorKind::Overflow, input, "a reading error other than overflow");
        overflowed = true;
    } catch (...) {
        fuzz::fail(input, "an exception other than a run-time error");
    }
    fuzz::require(overflowed || std::isfinite(value), input, "a reading that is not finite");

    const std::string_view number = leadingNumber(input);
    if (number.empty()) {
        fuzz::require(!overflowed && sameBits(value, 0.0), input, "no number, yet not read as 0");
        return 0;
    }

    // from_chars takes no plus sign and no comma; it reads "." in every locale and rounds correctly.
    std::string text(number[0] == '+' ? number.substr(1) : number);
    std::replace(text.begin(), text.end(), ',', '.');
    double expected = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), expected);
    fuzz::require(end == text.data() + text.size(), input, "the number scan and from_chars disagree");
    if (status == std::errc{}) {
        fuzz::require(!overflowed && sameBits(value, expected), input, "a wrong number");
        return 0;
    }
    fuzz::require(status == std::errc::result_out_of_range, input, "from_chars failed");
    // Out of range either way: too large must be an error, too small reads 0.
    const bool tooLarge = std::isinf(std::strtod(text.c_str(), nullptr));
    if (tooLarge)
        fuzz::require(overflowed, input, "a number too large for a double read without error");
    else
        fuzz::require(!overflowed && value == 0.0, input, "a number too small for a double not read as 0");
    return 0;
}
