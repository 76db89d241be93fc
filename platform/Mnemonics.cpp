#include "platform/Mnemonics.h"

#include "platform/Text.h"

namespace platform {

namespace {

/// Lower case of ASCII and Latin-1 letters (the captions' languages); others stay as they are.
char32_t Fold(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    return c;
}

bool IsLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

/// Where the marker of a caption's mnemonic stands, or npos.
std::size_t MarkerOf(const std::u32string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != U'&') continue;
        if (text[i + 1] == U'&') {
            ++i;
            continue;
        }
        return i;
    }
    return std::u32string::npos;
}

}  // namespace

char32_t MnemonicOf(const std::string& caption) {
    std::u32string text = DecodeUtf8(caption);
    const std::size_t marker = MarkerOf(text);
    return marker == std::u32string::npos ? 0 : Fold(text[marker + 1]);
}

std::vector<std::string> WithMnemonics(const std::vector<std::string>& captions, std::u32string taken) {
    std::vector<std::string> out(captions);
    std::vector<bool> open(captions.size(), false);
    // Marked captions first, so that a later caption never takes the letter one of them holds.
    for (std::size_t i = 0; i < captions.size(); ++i) {
        const char32_t own = MnemonicOf(captions[i]);
        if (own && taken.find(own) == std::u32string::npos) taken.push_back(own);
        open[i] = own == 0;
    }
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (!open[i]) continue;
        std::u32string text = DecodeUtf8(captions[i]);
        auto free = [&](std::size_t at) { return taken.find(Fold(text[at])) == std::u32string::npos; };
        std::size_t pick = std::u32string::npos;
        // Word starts, then any letter, then any digit.
        for (int pass = 0; pass < 3 && pick == std::u32string::npos; ++pass) {
            for (std::size_t at = 0; at < text.size(); ++at) {
                const char32_t c = text[at];
                const bool wordStart = at == 0 || !(IsLetter(text[at - 1]) || IsDigit(text[at - 1]));
                const bool fits = pass == 0 ? IsLetter(c) && wordStart : pass == 1 ? IsLetter(c) : IsDigit(c);
                if (c == U'&' || !fits || !free(at)) continue;
                pick = at;
                break;
            }
        }
        if (pick == std::u32string::npos) continue;
        taken.push_back(Fold(text[pick]));
        text.insert(pick, 1, U'&');
        out[i] = EncodeUtf8(text);
    }
    return out;
}

}  // namespace platform
