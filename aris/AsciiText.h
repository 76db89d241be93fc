#pragma once
// Small text helpers of the local ARIS server: ASCII case folding, trimming and whole-number
// parsing. The server keeps its own copies so that it depends on no other folder.
#include <optional>
#include <string>
#include <string_view>

namespace aris::text {

/// The text with ASCII letters in lower case; other bytes unchanged.
std::string LowerAscii(std::string_view s);
/// True when both texts are equal ignoring the case of ASCII letters.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);
/// The text without leading and trailing blanks, tabs, CR and LF.
std::string_view Trim(std::string_view s);
/// The value of a whole decimal number with an optional leading minus sign, nullopt when the
/// text is anything else or does not fit a 32-bit signed integer.
std::optional<int> ParseInt(std::string_view s);
/// True when the text is one or more decimal digits and nothing else.
bool IsDigits(std::string_view s);

}  // namespace aris::text
