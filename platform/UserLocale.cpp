#include "platform/UserLocale.h"

#include <cstdlib>
#include <string>

namespace platform {

namespace {

struct LocaleRow {
    const char* name;  ///< language, or language_TERRITORY
    int id;
};

/// Territory-specific rows come before the row of their language.
constexpr LocaleRow kLocales[] = {
    {"ja", 1041},    {"ko", 1042},    {"zh_TW", 1028}, {"zh_HK", 3076}, {"zh_SG", 4100}, {"zh_CN", 2052},
    {"zh", 2052},    {"de_AT", 3079}, {"de_CH", 2055}, {"de", 1031},    {"en_GB", 2057}, {"en", 1033},
    {"fr_CA", 3084}, {"fr", 1036},    {"it", 1040},    {"es", 3082},    {"nl", 1043},    {"pt_BR", 1046},
    {"pt", 2070},    {"ru", 1049},    {"pl", 1045},    {"cs", 1029},
};

/// Language codes of the language libraries (the three letters of the system's language
/// abbreviations), by language and, before it, by language and territory.
struct LanguageRow {
    const char* name;  ///< language, or language_TERRITORY
    const char* code;
};

constexpr LanguageRow kLanguages[] = {
    {"de", "DEU"},    {"en", "ENU"},    {"fr_CA", "FRC"}, {"fr", "FRA"}, {"it", "ITA"}, {"es", "ESN"},
    {"nl", "NLD"},    {"pt_BR", "PTB"}, {"pt", "PTG"},    {"ja", "JPN"}, {"ko", "KOR"}, {"zh_TW", "CHT"},
    {"zh_HK", "CHT"}, {"zh", "CHS"},    {"ru", "RUS"},    {"pl", "PLK"}, {"cs", "CSY"}, {"da", "DAN"},
    {"sv", "SVE"},    {"fi", "FIN"},    {"nb", "NOR"},    {"hu", "HUN"}, {"tr", "TRK"},
};

/// "ja_JP.UTF-8@variant": the part before the code set and modifier, and its language.
struct LocaleParts {
    std::string_view base;
    std::string_view language;
};

LocaleParts SplitLocale(std::string_view localeName) {
    const std::string_view base = localeName.substr(0, localeName.find_first_of(".@"));
    return {base, base.substr(0, base.find('_'))};
}

}  // namespace

int LocaleIdOf(std::string_view localeName) {
    auto [base, language] = SplitLocale(localeName);
    for (const LocaleRow& row : kLocales) {
        const std::string_view name = row.name;
        if (name == base || name == language) return row.id;
    }
    return 0;
}

int UserDefaultLocaleId() {
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return LocaleIdOf(value);
    }
    return 0;
}

std::string MessagesLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return "";
}

std::string LanguageCodeOfLocale(std::string_view localeName) {
    auto [base, language] = SplitLocale(localeName);
    for (const LanguageRow& row : kLanguages) {
        const std::string_view name = row.name;
        if (name == base || name == language) return row.code;
    }
    return "";
}

int CharacterSetForLocale(int localeId) {
    switch (localeId) {
        case 1041: return 128;
        case 1042: return 129;
        case 1028: return 136;
        case 2052: return 134;
        default: return 1;
    }
}

}  // namespace platform
