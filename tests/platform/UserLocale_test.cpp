#include "platform/UserLocale.h"

#include <gtest/gtest.h>

#include "../support/TestEnv.h"

using namespace platform;

TEST(UserLocale, LanguageCodeOfLocaleNames) {
    struct Row {
        const char* locale;
        const char* code;
    } rows[] = {
        {"de_DE.UTF-8", "DEU"},
        {"de_AT", "DEU"},
        {"de_CH.ISO-8859-1@euro", "DEU"},
        {"de", "DEU"},
        {"en_US.UTF-8", "ENU"},
        {"en_GB", "ENU"},
        {"fr_FR.UTF-8", "FRA"},
        {"fr_CA", "FRC"},
        {"zh_TW.Big5", "CHT"},
        {"zh_CN.GB2312", "CHS"},
        {"C", ""},
        {"C.UTF-8", ""},
        {"POSIX", ""},
        {"", ""},
        {"xx_YY", ""},
        {"deu", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(LanguageCodeOfLocale(r.locale), r.code) << r.locale;
}

TEST(UserLocale, MessagesLocaleIsTheFirstNonEmptyOfLcAllLcMessagesLang) {
    using Env = std::map<std::string, std::optional<std::string>>;
    struct Row {
        Env env;
        const char* expected;
    } rows[] = {
        {{{"LC_ALL", "fr_FR"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "en_US"}}, "fr_FR"},
        {{{"LC_ALL", ""}, {"LC_MESSAGES", "de_DE"}, {"LANG", "en_US"}}, "de_DE"},
        {{{"LC_ALL", std::nullopt}, {"LC_MESSAGES", ""}, {"LANG", "en_US"}}, "en_US"},
        // LC_CTYPE names the character set, not the language.
        {{{"LC_ALL", std::nullopt}, {"LC_MESSAGES", std::nullopt}, {"LC_CTYPE", "de_DE"}, {"LANG", std::nullopt}}, ""},
    };
    for (const Row& r : rows) {
        testenv::ScopedEnv env(r.env);
        EXPECT_EQ(MessagesLocaleName(), r.expected);
    }
}
