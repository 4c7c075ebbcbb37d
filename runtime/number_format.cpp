#include "runtime/number_format.h"

#include <array>
#include <charconv>
#include <cmath>

namespace wienbridge {
namespace {

// |value| = d.ddd * 10^exponent, the digits those of the shortest decimal that
// reads back as the value, rounded to four with halves away from zero: the
// number the user typed, or the command line printed, rounds as on paper
// (0.00015915 to 1.592e-4, though its double lies just below).
struct FourDigits {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

FourDigits fourDigits(double value)
{
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                                      std::chars_format::scientific);
    const std::string_view text(buffer.data(), result.ptr);
    const std::size_t e = text.find('e');
    FourDigits f;
    f.negative = value < 0;
    for (const char c : text.substr(0, e))
        if (c != '.')
            f.digits += c;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+'), text.data() + text.size(), f.exponent);
    f.digits.resize(5, '0');
    int five = 0;
    std::from_chars(f.digits.data(), f.digits.data() + 5, five);
    int four = (five + 5) / 10;
    if (four == 10000) {
        four = 1000;
        ++f.exponent;
    }
    f.digits = std::to_string(four);
    f.digits.resize(4, '0');  // zero
    return f;
}

// "d,dddE+xx": three decimals, at least two exponent digits.
std::string scientific(const FourDigits& f, std::string_view decimalSeparator)
{
    const int magnitude = f.exponent < 0 ? -f.exponent : f.exponent;
    return (f.negative ? "-" : "") + f.digits.substr(0, 1) + std::string(decimalSeparator)
           + f.digits.substr(1) + (f.exponent < 0 ? "E-" : "E+") + (magnitude < 10 ? "0" : "")
           + std::to_string(magnitude);
}

// The four digits with the given number of them before the separator, padded
// with zeros on either side.
std::string placed(const FourDigits& f, int integerDigits, std::string_view decimalSeparator)
{
    std::string text = f.negative ? "-" : "";
    if (integerDigits <= 0)
        return text + "0" + std::string(decimalSeparator) + std::string(-integerDigits, '0') + f.digits;
    const auto split = static_cast<std::size_t>(integerDigits);
    if (split >= f.digits.size())
        return text + f.digits + std::string(split - f.digits.size(), '0');
    return text + f.digits.substr(0, split) + std::string(decimalSeparator) + f.digits.substr(split);
}

}  // namespace

void appendShortest(std::string& out, double value)
{
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

std::string formatFixed(double value, int decimals, std::string_view decimalSeparator)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value < 0 ? "-Inf" : "Inf";

    // Large enough for the longest fixed-point double (309 integer digits).
    std::array<char, 400> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    std::string text(buffer.data(), result.ptr);

    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos)
        text.erase(0, 1);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

std::string formatFixedOrScientific(double value, int decimals, std::string_view decimalSeparator)
{
    if (!std::isfinite(value) || std::fabs(value) < 1e15)
        return formatFixed(value, decimals, decimalSeparator);
    std::array<char, 32> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::scientific, decimals);
    std::string text(buffer.data(), result.ptr);
    text[text.find('e')] = 'E';
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, decimalSeparator);
    return text;
}

std::string formatEngineering(double value, std::string_view unit, std::string_view decimalSeparator)
{
    // From 1e-9 to 1e9 by thousands; the micro sign in UTF-8.
    static constexpr std::array<std::string_view, 7> kPrefixes{"n", "\xC2\xB5", "m", "", "k", "M", "G"};
    std::string text;
    std::string_view prefix;
    if (!std::isfinite(value)) {
        text = formatFixed(value, 0, decimalSeparator);
    } else {
        const FourDigits f = fourDigits(value);
        const int group = (f.exponent >= 0 ? f.exponent : f.exponent - 2) / 3;  // rounded down
        if (group < -3 || group > 3) {
            text = scientific(f, decimalSeparator);
        } else {
            text = placed(f, f.exponent - 3 * group + 1, decimalSeparator);
            prefix = kPrefixes[static_cast<std::size_t>(group + 3)];
        }
    }
    return text.append(" ").append(prefix).append(unit);
}

std::string formatSignificant(double value, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        return formatFixed(value, 0, decimalSeparator);
    const FourDigits f = fourDigits(value);
    if (value != 0 && (f.exponent >= 9 || f.exponent < -9))
        return scientific(f, decimalSeparator);
    return placed(f, f.exponent + 1, decimalSeparator);
}

}  // namespace wienbridge
