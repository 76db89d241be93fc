#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/// Copy of the text with ASCII letters lower-cased (the key form of collections).
std::string FoldAsciiCase(std::string_view text);
/// Copy of the text with ASCII letters upper-cased.
std::string UpperAscii(std::string_view text);
/// True when both texts are equal ignoring ASCII letter case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

/// Text without leading and trailing blanks (spaces only, as the program's trimming does).
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

/// Every occurrence of `from` replaced by `to`, left to right, not recursive.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

/// Decode UTF-8 into code points; an invalid byte becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view text);
/// Encode code points as UTF-8.
std::string EncodeUtf8(std::u32string_view text);
/// Number of characters (code points) in a UTF-8 text.
std::size_t CharCount(std::string_view text);
/// The first `count` characters of a UTF-8 text.
std::string LeftChars(std::string_view text, std::size_t count);
/// Characters from position `start` (from 0), at most `count` of them.
std::string MidChars(std::string_view text, std::size_t start, std::size_t count = std::string::npos);
/// Upper case per character (non-ASCII letters included); a character whose upper case
/// is longer than one character stays as it is.
std::string UpperUtf8(std::string_view text);
/// True when the text is valid UTF-8.
bool IsValidUtf8(std::string_view text);

/// Numeric in the program's sense: optional blanks around, optional sign, digits with an
/// optional decimal point and fraction, optional exponent; or &H hexadecimal / &O octal.
bool IsNumeric(std::string_view text);
/// The value of a numeric text; std::nullopt when it is not numeric.
std::optional<double> NumericValue(std::string_view text);
/// Round to the nearest whole number, halves to the even neighbour.
double RoundHalfEven(double value);
/// A numeric text converted to a whole number (halves to even); nullopt when not numeric or
/// outside the range of 32-bit signed integers.
std::optional<std::int32_t> ToInt32(std::string_view text);
/// As ToInt32, for 16-bit signed integers.
std::optional<std::int16_t> ToInt16(std::string_view text);

/// True when the text holds a CR not followed by LF, or an LF not following a CR.
bool HasLoneLineBreak(std::string_view text);
/// The text with every line break (CR LF, a lone CR, a lone LF) as CR LF. A text without a lone
/// line break is returned as it is, without a copy; a converted one is kept in `buffer`.
std::string_view WithCrLfLineBreaks(std::string_view text, std::string& buffer);

/// Split at every occurrence of a one-character separator; empty pieces kept.
std::vector<std::string> SplitKeepEmpty(std::string_view text, char separator);

}  // namespace platform
