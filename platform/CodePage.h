#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace platform {

/// The active ANSI code page: $LUMENPORT_CODEPAGE when set, else derived from the locale's
/// character set (UTF-8 65001, ISO-8859-1 28591, ISO-8859-15 28605, CP1252 1252; the C locale
/// and anything unknown 1252).
int ActiveCodePage();

/// The value of $LUMENPORT_CODEPAGE when it is set but names no code page the program can write
/// (not a positive whole number, or one no conversion exists for); nothing otherwise.
std::optional<std::string> UnwritableCodePageSetting();

/// Convert UTF-8 text into a code page; a character the code page cannot hold becomes "?".
std::string FromUtf8ToCodePage(std::string_view utf8, int codePage);
/// The same without a copy where the text passes unchanged (UTF-8, or ASCII in a code page that
/// holds ASCII): the view is of `utf8`, else of `buffer`, which then holds the conversion.
std::string_view FromUtf8ToCodePage(std::string_view utf8, int codePage, std::string& buffer);

/// Convert text in a code page into UTF-8 (used for files read back, such as profiles).
std::string FromCodePageToUtf8(std::string_view text, int codePage);

/// Convert UTF-8 text into the terminal's character set (UTF-8 under the C locale).
std::string ForTerminal(std::string_view utf8);

/// The iconv name of a code page ("CP1252", "UTF-8", "ISO-8859-1"...).
std::string CodePageCharset(int codePage);

}  // namespace platform
