#include "runtime/number_reading.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

#include "runtime/runtime_error.h"

namespace wienbridge {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t skipDigits(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isDigit(text[pos]))
        ++pos;
    return pos;
}

// A number as written: the digits before and after its point (one of the two
// may be empty) and those of its exponent (empty without one).
struct WrittenNumber {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    bool negativeExponent = false;
    std::string_view exponent;
    std::size_t length = 0;  // of the whole prefix
};

// The longest prefix of text that is a number, if there is one.
std::optional<WrittenNumber> scanNumber(std::string_view text)
{
    WrittenNumber number;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        number.negative = text[pos++] == '-';
    const std::size_t wholeStart = pos;
    pos = skipDigits(text, pos);
    number.whole = text.substr(wholeStart, pos - wholeStart);
    if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
        const std::size_t fractionStart = pos + 1;
        pos = skipDigits(text, fractionStart);
        number.fraction = text.substr(fractionStart, pos - fractionStart);
    }
    if (number.whole.empty() && number.fraction.empty())
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t expPos = pos + 1;
        bool negativeExponent = false;
        if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-'))
            negativeExponent = text[expPos++] == '-';
        const std::size_t expEnd = skipDigits(text, expPos);
        if (expEnd > expPos) {
            number.negativeExponent = negativeExponent;
            number.exponent = text.substr(expPos, expEnd - expPos);
            pos = expEnd;
        }
    }
    number.length = pos;
    return number;
}

// Larger exponents are taken as this one: a text would need about as many
// digits as this to bring such a number back into the range of a double, far
// more than fit in memory.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000'000;

std::int64_t exponentOf(const WrittenNumber& number)
{
    std::int64_t exponent = 0;
    for (const char c : number.exponent)
        exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
    return number.negativeExponent ? -exponent : exponent;
}

std::string_view withoutLeadingBlanks(std::string_view text)
{
    text.remove_prefix(std::min(text.find_first_not_of(" \t"), text.size()));
    return text;
}

}  // namespace

TextReading howTextReads(std::string_view text)
{
    text = withoutLeadingBlanks(text);
    const std::optional<WrittenNumber> number = scanNumber(text);
    if (!number)
        return text.empty() ? TextReading::Blank : TextReading::NoNumber;
    return text.find_first_not_of(" \t", number->length) == std::string_view::npos ? TextReading::Whole
                                                                                   : TextReading::Partly;
}

double readNumber(std::string_view text, Quantity box)
{
    const std::optional<WrittenNumber> number = scanNumber(withoutLeadingBlanks(text));
    if (!number)
        return 0.0;
    // A number too small for a double reads as a zero of its sign, as the C
    // library's strtod has always given it.
    const double zero = number->negative ? -0.0 : 0.0;

    std::string digits(number->whole);
    digits += number->fraction;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return zero;
    const std::size_t last = digits.find_last_not_of('0');
    // The number is 0.d1d2d3... times ten to this power, d1 its first nonzero digit.
    const std::int64_t power = static_cast<std::int64_t>(number->whole.size())
                               - static_cast<std::int64_t>(first) + exponentOf(*number);
    // At least 1e309, or below 1e-324 (under half the smallest subnormal): no
    // need to convert, and the text handed to from_chars keeps a short exponent,
    // which every implementation reads without saturating it.
    if (power > 309)
        raise(ErrorKind::Overflow, box);
    if (power < -323)
        return zero;

    // from_chars is standard C++, ignores the locale and rounds correctly in
    // the libraries we build with; it takes no '+' and only '.' as the point.
    std::string normal = number->negative ? "-0." : "0.";
    normal.append(digits, first, last + 1 - first);
    normal += 'e';
    normal += std::to_string(power);
    double value = 0;
    const std::errc status = std::from_chars(normal.data(), normal.data() + normal.size(), value).ec;
    // Too large or too small alike (libstdc++ leaves the value as it was): the power says which.
    if (status == std::errc::result_out_of_range) {
        if (power > 0)
            raise(ErrorKind::Overflow, box);
        return zero;
    }
    return value;
}

}  // namespace wienbridge
