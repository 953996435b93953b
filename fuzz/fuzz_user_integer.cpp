// Compares the parser of integers the user types with a plain reference
// that works on the digits as a string: leading blanks, then a sign and
// decimal digits or "$" and hexadecimal digits, inside the 32-bit range.

#include "FuzzSupport.h"

#include "model/UserInteger.h"

#include <optional>
#include <string>

namespace {

int digitValue(char16_t c, int base)
{
    int v = -1;
    if (c >= u'0' && c <= u'9')
        v = c - u'0';
    else if (c >= u'a' && c <= u'z')
        v = c - u'a' + 10;
    else if (c >= u'A' && c <= u'Z')
        v = c - u'A' + 10;
    return v < base ? v : -1;
}

// The value of a string of digits, or nothing when it is not all digits of
// the base or exceeds `limit`; the size is compared on the digits without
// leading zeros, so no arithmetic can overflow.
std::optional<long long> reference(const std::u16string& text)
{
    std::size_t i = text.find_first_not_of(u' ');
    if (i == std::u16string::npos)
        return std::nullopt;
    int base = 10;
    bool negative = false;
    if (text[i] == u'$') {
        base = 16;
        ++i;
    } else if (text[i] == u'+' || text[i] == u'-') {
        negative = text[i] == u'-';
        ++i;
    }
    const std::u16string digits = text.substr(i);
    if (digits.empty())
        return std::nullopt;
    for (char16_t c : digits)
        if (digitValue(c, base) < 0)
            return std::nullopt;
    const std::size_t significant = digits.find_first_not_of(u'0');
    if (significant == std::u16string::npos)
        return 0;
    if (digits.size() - significant > (base == 16 ? 8u : 10u))
        return std::nullopt;
    long long value = 0;
    for (std::size_t k = significant; k < digits.size(); ++k)
        value = value * base + digitValue(digits[k], base);
    if (negative)
        value = -value;
    if (value > 2147483647LL || value < -2147483648LL)
        return std::nullopt;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = fuzzsupport::textOf(fuzzsupport::bytesOf(data, size));
    const std::optional<int> parsed = ts::parseUserInteger(text);
    const std::optional<long long> expected = reference(text.toStdU16String());
    if (parsed.has_value() != expected.has_value() || (parsed && *parsed != *expected))
        fuzzsupport::fail("'%s' parses as %s, expected %s", fuzzsupport::printable(text).constData(),
                          parsed ? std::to_string(*parsed).c_str() : "no integer",
                          expected ? std::to_string(*expected).c_str() : "no integer");
    return 0;
}
