#include "platform/Mnemonics.h"

#include <gtest/gtest.h>

#include <set>

using namespace platform;

TEST(Mnemonics, MarkedLetterIsReadWithoutCaseAndDoubledAmpersandIsLiteral) {
    struct Row {
        const char* caption;
        char32_t mnemonic;
    } rows[] = {
        {"&Help", U'h'}, {"Ü&bernehmen", U'b'}, {"&Übernehmen", U'ü'}, {"Save && close", 0}, {"R&&D &notes", U'n'},
        {"OK", 0},       {"trailing &", 0},
    };
    for (const Row& r : rows) EXPECT_EQ(MnemonicOf(r.caption), r.mnemonic) << r.caption;
}

TEST(Mnemonics, EveryCaptionOfAGroupGetsAFreeLetterWordStartsFirst) {
    struct Row {
        std::vector<std::string> captions;
        std::u32string taken;
        std::vector<std::string> expected;
    } rows[] = {
        // Word starts first; a taken letter moves on to the next word.
        {{"Convert ARIS names", "Remove line breaks"}, U"ca", {"Convert ARIS &names", "&Remove line breaks"}},
        // A caption that marks its own letter keeps it, and the others keep clear of it.
        {{"Layout", "&Loops"}, U"", {"L&ayout", "&Loops"}},
        // No free word start: the next free letter, then a digit.
        {{"Data", "Data", "Data", "Data", "Data 1"}, U"", {"&Data", "D&ata", "Da&ta", "Data", "Data &1"}},
        // German letters count, without case.
        {{"Übernehmen", "über"}, U"", {"&Übernehmen", "ü&ber"}},
        // Punctuation and blanks are never marked.
        {{"'ERM' domain"}, U"e", {"'ERM' &domain"}},
    };
    for (const Row& r : rows) {
        std::vector<std::string> got = WithMnemonics(r.captions, r.taken);
        EXPECT_EQ(got, r.expected) << r.captions.front();
        std::set<char32_t> seen(r.taken.begin(), r.taken.end());
        for (const std::string& caption : got) {
            char32_t m = MnemonicOf(caption);
            if (m) {
                EXPECT_TRUE(seen.insert(m).second) << caption << " repeats a letter";
            }
        }
    }
}
