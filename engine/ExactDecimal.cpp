#include "ExactDecimal.h"

#include <algorithm>
#include <cstddef>

namespace Kalvoran {

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
