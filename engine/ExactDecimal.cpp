#include "ExactDecimal.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>
#include <string_view>

namespace Kalvoran {

ExactDecimal ExactDecimal::of(double value, std::optional<int> significant)
{
    if (value == 0)
        return {};
    // "-d.ddde-XX" from std::to_chars.
    std::array<char, 32> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    const auto end = significant ? std::to_chars(first, last, value, std::chars_format::scientific,
                                                 std::max(*significant, 1) - 1)
                                 : std::to_chars(first, last, value, std::chars_format::scientific);
    std::string_view text(first, static_cast<std::size_t>(end.ptr - first));
    ExactDecimal decimal;
    decimal.negative = text.front() == '-';
    if (decimal.negative)
        text.remove_prefix(1);
    const auto mark = text.find('e');
    for (const char c : text.substr(0, mark))
        if (c != '.')
            decimal.digits += c;
    decimal.digits.erase(decimal.digits.find_last_not_of('0') + 1);
    std::string_view exponent = text.substr(mark + 1);
    if (exponent.front() == '+')
        exponent.remove_prefix(1); // from_chars takes a minus sign only
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), decimal.exponent);
    return decimal;
}

ExactDecimal ExactDecimal::rounded(int significant) const
{
    const auto kept = static_cast<std::size_t>(std::max(significant, 1));
    if (digits.size() <= kept)
        return *this;

    ExactDecimal result{negative, digits.substr(0, kept), exponent};
    // The dropped digits are non-zero at their end, so they are a tie exactly when they are a 5
    // alone, and more than half when they start with a 5 and go on, or with a larger digit.
    const char first = digits[kept];
    const bool tie = first == '5' && digits.size() == kept + 1;
    const bool odd = (result.digits.back() - '0') % 2 != 0;
    if (first > '5' || (first == '5' && !tie) || (tie && odd)) {
        const auto lastNonNine = result.digits.find_last_not_of('9');
        if (lastNonNine == std::string::npos) { // 99…9 becomes 100…0
            result.digits.assign(1, '1');
            ++result.exponent;
            return result;
        }
        result.digits.resize(lastNonNine + 1);
        ++result.digits.back();
        return result;
    }
    result.digits.erase(result.digits.find_last_not_of('0') + 1);
    return result;
}

} // namespace Kalvoran
