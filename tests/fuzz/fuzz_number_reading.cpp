// Any bytes as the text of an input box: reading it gives 0, a finite number
// equal to the one an independent reading finds, or an overflow error.

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

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The characters of the number at the start of text, after spaces and tabs,
// found with a scan of its own: [+-]digits[.digits] or [+-].digits, then
// e/E[+-]digits if digits follow. Empty if there is no number.
std::string_view leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    text.remove_prefix(i);

    enum class At { Start, Sign, Whole, Point, Fraction, E, ExponentSign, Exponent } at = At::Start;
    std::size_t end = 0;  // just past the last character that completes a number
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        const char c = text[pos];
        const bool digit = isDigit(c);
        switch (at) {
        case At::Start:
            at = digit ? At::Whole : (c == '+' || c == '-') ? At::Sign : c == '.' ? At::Point : At::Start;
            break;
        case At::Sign:
            at = digit ? At::Whole : c == '.' ? At::Point : At::Start;
            break;
        case At::Whole:
            at = digit ? At::Whole : c == '.' ? At::Point : (c == 'e' || c == 'E') ? At::E : At::Start;
            break;
        case At::Point:
            at = digit ? At::Fraction : At::Start;
            break;
        case At::Fraction:
            at = digit ? At::Fraction : (c == 'e' || c == 'E') ? At::E : At::Start;
            break;
        case At::E:
            at = digit ? At::Exponent : (c == '+' || c == '-') ? At::ExponentSign : At::Start;
            break;
        case At::ExponentSign:
        case At::Exponent:
            at = digit ? At::Exponent : At::Start;
            break;
        }
        if (at == At::Start)
            break;
        if (digit && (at == At::Whole || at == At::Fraction || at == At::Exponent))
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

    // from_chars takes no plus sign; it reads "." in every locale and rounds correctly.
    const std::string_view withoutPlus = number[0] == '+' ? number.substr(1) : number;
    double expected = 0;
    const auto [end, status] =
        std::from_chars(withoutPlus.data(), withoutPlus.data() + withoutPlus.size(), expected);
    fuzz::require(end == withoutPlus.data() + withoutPlus.size(), input, "the number scan and from_chars disagree");
    if (status == std::errc{}) {
        fuzz::require(!overflowed && sameBits(value, expected), input, "a wrong number");
        return 0;
    }
    fuzz::require(status == std::errc::result_out_of_range, input, "from_chars failed");
    // Out of range either way: too large must be an error, too small reads 0.
    const std::string text(number);
    const bool tooLarge = std::isinf(std::strtod(text.c_str(), nullptr));
    if (tooLarge)
        fuzz::require(overflowed, input, "a number too large for a double read without error");
    else
        fuzz::require(!overflowed && value == 0.0, input, "a number too small for a double not read as 0");
    return 0;
}
