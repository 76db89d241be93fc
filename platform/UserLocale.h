#pragma once
#include <string>
#include <string_view>

namespace platform {

/// Locale id (the Windows numbering the dialogs' font rule is written in) of a POSIX locale
/// name ("ja_JP.UTF-8" gives 1041, "zh_TW" 1028, "zh_CN" 2052, "de_DE" 1031); 0 for a locale
/// the table does not know, "C" and "POSIX" included.
int LocaleIdOf(std::string_view localeName);

/// Locale id of the user's locale: the first set of LC_ALL, LC_CTYPE and LANG.
int UserDefaultLocaleId();

/// The locale that names the language of messages: the first non-empty of LC_ALL,
/// LC_MESSAGES and LANG; "" when none is set.
std::string MessagesLocaleName();

/// The three-letter language code of the language libraries for a locale name: "de_DE.UTF-8"
/// and "de_AT" give "DEU", "en_GB" "ENU", "fr_FR" "FRA"; "" for "C", "POSIX" and languages the
/// table does not know.
std::string LanguageCodeOfLocale(std::string_view localeName);

/// Character set of dialog fonts for a locale id: 128 (Japanese), 129 (Korean), 136 (Chinese,
/// traditional), 134 (Chinese, simplified), 1 (the default character set) for every other.
int CharacterSetForLocale(int localeId);

}  // namespace platform
