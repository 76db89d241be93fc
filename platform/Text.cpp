#include "platform/Text.h"

#include <cstring>

#include <locale.h>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cwctype>
#include <limits>

namespace platform {

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAsciiChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// A locale with Unicode character classes, independent of the user's locale, so that upper
// casing treats every letter alike whatever LC_CTYPE the program runs under.
locale_t UnicodeCtype() {
    static locale_t loc = [] {
        locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
        if (!l) l = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", static_cast<locale_t>(nullptr));
        return l;
    }();
    return loc;
}

std::string_view WithoutLeadingSpaces(std::string_view text) {
    std::size_t b = 0;
    while (b < text.size() && text[b] == ' ') ++b;
    return text.substr(b);
}

std::string_view WithoutTrailingSpaces(std::string_view text) {
    std::size_t e = text.size();
    while (e > 0 && text[e - 1] == ' ') --e;
    return text.substr(0, e);
}

}  // namespace

std::string FoldAsciiCase(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = LowerAscii(c);
    return out;
}

std::string UpperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = UpperAsciiChar(c);
    return out;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string TrimLeft(std::string_view text) { return std::string(WithoutLeadingSpaces(text)); }

std::string TrimRight(std::string_view text) { return std::string(WithoutTrailingSpaces(text)); }

std::string Trim(std::string_view text) { return std::string(WithoutTrailingSpaces(WithoutLeadingSpaces(text))); }

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::u32string DecodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp;
        std::size_t len;
        if (c < 0x80) {
            cp = c;
            len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07;
            len = 4;
        } else {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        if (i + len > s.size()) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        bool ok = true;
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (!ok) {
            out.push_back(0xFFFD);
            ++i;
            continue;
        }
        out.push_back(cp);
        i += len;
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t cp : text) {
        if (cp < 0x80) out.push_back(static_cast<char>(cp));
        else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::size_t CharCount(std::string_view text) {
    std::size_t n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string MidChars(std::string_view text, std::size_t start, std::size_t count) {
    std::size_t i = 0, seen = 0;
    auto lead = [&](std::size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80; };
    while (i < text.size() && seen < start) {
        ++i;
        while (i < text.size() && !lead(i)) ++i;
        ++seen;
    }
    const std::size_t b = i;
    seen = 0;
    while (i < text.size() && seen < count) {
        ++i;
        while (i < text.size() && !lead(i)) ++i;
        ++seen;
    }
    return std::string(text.substr(b, i - b));
}

std::string LeftChars(std::string_view text, std::size_t count) { return MidChars(text, 0, count); }

std::string UpperUtf8(std::string_view text) {
    std::u32string cps = DecodeUtf8(text);
    locale_t loc = UnicodeCtype();
    for (char32_t& cp : cps) {
        if (cp < 0x80) {
            cp = static_cast<char32_t>(UpperAsciiChar(static_cast<char>(cp)));
            continue;
        }
        if (loc) cp = static_cast<char32_t>(towupper_l(static_cast<wint_t>(cp), loc));
    }
    return EncodeUtf8(cps);
}

bool IsValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len;
        char32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else return false;
        if (i + len > s.size()) return false;
        for (std::size_t k = 1; k < len; ++k) {
            const unsigned char cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
            (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

std::optional<double> NumericValue(std::string_view raw) {
    std::string t = Trim(raw);
    if (t.empty()) return std::nullopt;
    if (t.size() > 2 && t[0] == '&' && (t[1] == 'H' || t[1] == 'h' || t[1] == 'O' || t[1] == 'o')) {
        const int base = (t[1] == 'H' || t[1] == 'h') ? 16 : 8;
        unsigned long long v = 0;
        for (std::size_t i = 2; i < t.size(); ++i) {
            const char c = t[i];
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else return std::nullopt;
            if (d >= base) return std::nullopt;
            v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
            if (v > 0xFFFFFFFFull) return std::nullopt;
        }
        return static_cast<double>(v);
    }
    std::size_t i = 0;
    if (t[i] == '+' || t[i] == '-') ++i;
    std::size_t digits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        ++i;
        ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        std::size_t exp = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            ++i;
            ++exp;
        }
        if (exp == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    return std::strtod(t.c_str(), nullptr);
}

bool IsNumeric(std::string_view text) { return NumericValue(text).has_value(); }

double RoundHalfEven(double value) {
    const double fl = std::floor(value);
    const double diff = value - fl;
    if (diff > 0.5) return fl + 1;
    if (diff < 0.5) return fl;
    return std::fmod(fl, 2.0) == 0 ? fl : fl + 1;
}

std::optional<std::int32_t> ToInt32(std::string_view text) {
    auto v = NumericValue(text);
    if (!v) return std::nullopt;
    double r = RoundHalfEven(*v);
    if (r < std::numeric_limits<std::int32_t>::min() || r > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(r);
}

std::optional<std::int16_t> ToInt16(std::string_view text) {
    auto v = ToInt32(text);
    if (!v || *v < -32768 || *v > 32767) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

std::vector<std::string> SplitKeepEmpty(std::string_view text, char separator) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t hit = text.find(separator, pos);
        if (hit == std::string_view::npos) {
            out.emplace_back(text.substr(pos));
            return out;
        }
        out.emplace_back(text.substr(pos, hit - pos));
        pos = hit + 1;
    }
}

// Texts come with their CR LF line ends, so the search jumps from line end to line end.
bool HasLoneLineBreak(std::string_view text) {
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p)
        if (p == begin || p[-1] != '\r') return true;
    for (const char* p = begin; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p)
        if (p + 1 == end || p[1] != '\n') return true;
    return false;
}

// A lone CR or LF (one a text was cut after, or one that came from elsewhere than ARIS) would
// break the line structure of the files the program writes.
std::string_view WithCrLfLineBreaks(std::string_view text, std::string& buffer) {
    if (!HasLoneLineBreak(text)) return text;
    buffer.clear();
    buffer.reserve(text.size() + 16);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            buffer.push_back(c);
            continue;
        }
        buffer.append("\r\n");
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return buffer;
}

}  // namespace platform
