#include "number_reading.h"

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "runtime_error.h"

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

// The length of the longest prefix of text that is a number, 0 if none.
std::size_t numberLength(std::string_view text)
{
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        ++pos;
    const std::size_t intStart = pos;
    pos = skipDigits(text, pos);
    std::size_t digits = pos - intStart;
    if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
        const std::size_t fracEnd = skipDigits(text, pos + 1);
        digits += fracEnd - (pos + 1);
        pos = fracEnd;
    }
    if (digits == 0)
        return 0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t expPos = pos + 1;
        if (expPos < text.size() && (text[expPos] == '+' || text[expPos] == '-'))
            ++expPos;
        const std::size_t expEnd = skipDigits(text, expPos);
        if (expEnd > expPos)
            pos = expEnd;
    }
    return pos;
}

locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

}  // namespace

double readNumber(std::string_view text, Quantity box)
{
    std::size_t start = 0;
    while (start < text.size() && (text[start] == ' ' || text[start] == '\t'))
        ++start;
    text.remove_prefix(start);
    const std::size_t length = numberLength(text);
    if (length == 0)
        return 0.0;

    // strtod_l with the C locale: correctly rounded in glibc, "." whatever the
    // user's locale, and unlike libstdc++'s from_chars it tells overflow from underflow.
    std::string number(text.substr(0, length));
    std::replace(number.begin(), number.end(), ',', '.');
    errno = 0;
    const double value = strtod_l(number.c_str(), nullptr, cLocale());
    if (errno == ERANGE && std::isinf(value))
        raise(ErrorKind::Overflow, box);
    return value;
}

}  // namespace wienbridge
