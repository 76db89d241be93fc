#include "platform/CodePage.h"

#include <iconv.h>
#include <langinfo.h>
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/Text.h"

namespace platform {

namespace {

// The environment variables the code page depends on, read in one pass over the environment
// (the definition file and its log ask for the code page with every line). Each is the first
// definition of its name, as getenv finds it; nullptr when not set.
struct CodePageEnvironment {
    const char* codePage = nullptr;  // LUMENPORT_CODEPAGE
    const char* locale[3] = {};      // LC_ALL, LC_CTYPE, LANG
};

CodePageEnvironment ReadCodePageEnvironment() {
    static constexpr std::string_view kNames[] = {"LUMENPORT_CODEPAGE=", "LC_ALL=", "LC_CTYPE=", "LANG="};
    CodePageEnvironment env;
    const char** slots[] = {&env.codePage, &env.locale[0], &env.locale[1], &env.locale[2]};
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* e = *entry;
        // Only names starting with "L" and a letter of one of the four second letters matter.
        if (e[0] != 'L' || (e[1] != 'U' && e[1] != 'C' && e[1] != 'A')) continue;
        for (std::size_t i = 0; i < 4; ++i) {
            if (*slots[i] || e[1] != kNames[i][1] || std::strncmp(e, kNames[i].data(), kNames[i].size()) != 0) continue;
            *slots[i] = e + kNames[i].size();
        }
    }
    return env;
}

std::string LocaleCharset(const CodePageEnvironment& env) {
    // The user's locale from the environment, without changing the program's own locale.
    for (const char* v : env.locale) {
        if (v && *v) {
            const std::string s = v;
            const std::size_t dot = s.find('.');
            if (dot == std::string::npos) return (s == "C" || s == "POSIX") ? "" : "ISO-8859-1";
            std::string cs = s.substr(dot + 1);
            const std::size_t at = cs.find('@');
            if (at != std::string::npos) cs = cs.substr(0, at);
            return UpperAscii(cs);
        }
    }
    return "";
}

std::string LocaleCharset() { return LocaleCharset(ReadCodePageEnvironment()); }

int CodePageOf(const CodePageEnvironment& env) {
    if (const char* v = env.codePage; v && *v) {
        if (auto n = ToInt32(v); n && *n > 0) return *n;
    }
    const std::string cs = LocaleCharset(env);
    if (cs == "UTF-8" || cs == "UTF8") return 65001;
    if (cs == "ISO-8859-1" || cs == "ISO8859-1") return 28591;
    if (cs == "ISO-8859-15" || cs == "ISO8859-15") return 28605;
    if (cs == "CP1252") return 1252;
    return 1252;
}

// Conversion descriptors by pair of character sets, opened once: the definition file and its
// log convert every line they get.
class DescriptorCache {
public:
    DescriptorCache() = default;
    DescriptorCache(const DescriptorCache&) = delete;
    DescriptorCache& operator=(const DescriptorCache&) = delete;
    ~DescriptorCache() {
        for (const Entry& e : entries_)
            if (e.cd != kNone) iconv_close(e.cd);
    }

    /// The descriptor converting `from` into `to` in its initial state, or kNone when iconv
    /// knows one of them not.
    iconv_t Get(const std::string& from, const std::string& to) {
        for (const Entry& e : entries_) {
            if (e.from != from || e.to != to) continue;
            if (e.cd != kNone) iconv(e.cd, nullptr, nullptr, nullptr, nullptr);
            return e.cd;
        }
        entries_.push_back(Entry{from, to, iconv_open(to.c_str(), from.c_str())});
        return entries_.back().cd;
    }

    // The handle value itself is the constant (iconv_t is a pointer type).
    // NOLINTNEXTLINE(misc-misplaced-const)
    static inline const iconv_t kNone = reinterpret_cast<iconv_t>(-1);

private:
    struct Entry {
        std::string from;
        std::string to;
        iconv_t cd;
    };
    std::vector<Entry> entries_;
};

std::string Convert(std::string_view in, const std::string& from, const std::string& to, bool toUtf8) {
    thread_local DescriptorCache cache;
    iconv_t cd = cache.Get(from, to);
    if (cd == DescriptorCache::kNone) return std::string(in);
    std::string out;
    out.reserve(in.size());
    std::vector<char> buf(4096);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf.data();
        std::size_t dstLeft = buf.size();
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf.data(), buf.size() - dstLeft);
        if (r != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // A character the target cannot hold, or a broken input sequence: one "?" for it.
        out.push_back('?');
        std::size_t skip = 1;
        if (!toUtf8) {
            const unsigned char c = static_cast<unsigned char>(*src);
            if ((c & 0xE0) == 0xC0) skip = 2;
            else if ((c & 0xF0) == 0xE0) skip = 3;
            else if ((c & 0xF8) == 0xF0) skip = 4;
            if (skip > srcLeft) skip = srcLeft;
        }
        src += skip;
        srcLeft -= skip;
    }
    return out;
}

bool IsAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Code pages that hold the ASCII characters at their ASCII codes: the Windows ANSI code pages,
// the ISO-8859 family and UTF-8. Pure ASCII text passes them unchanged.
bool KeepsAscii(int codePage) {
    return codePage == 65001 || (codePage >= 1250 && codePage <= 1258) || (codePage >= 28591 && codePage <= 28605);
}

// True when text passes between UTF-8 and the code page unchanged: the code page is UTF-8, or
// the text is ASCII and the code page holds it.
bool PassesUnchanged(std::string_view text, int codePage) {
    return codePage == 65001 || (KeepsAscii(codePage) && IsAscii(text));
}

}  // namespace

std::string CodePageCharset(int codePage) {
    switch (codePage) {
        case 65001: return "UTF-8";
        case 28591: return "ISO-8859-1";
        case 28605: return "ISO-8859-15";
        default: return "CP" + std::to_string(codePage);
    }
}

int ActiveCodePage() {
    // The last answer is kept with the values it came from.
    struct Answer {
        std::string values[4];
        bool set[4] = {};
        int codePage = 0;
    };
    thread_local Answer last;
    const CodePageEnvironment env = ReadCodePageEnvironment();
    const char* values[] = {env.codePage, env.locale[0], env.locale[1], env.locale[2]};
    bool same = last.codePage != 0;
    for (std::size_t i = 0; i < 4 && same; ++i)
        same = (values[i] != nullptr) == last.set[i] && (!values[i] || last.values[i] == values[i]);
    if (same) return last.codePage;
    for (std::size_t i = 0; i < 4; ++i) {
        last.set[i] = values[i] != nullptr;
        last.values[i] = values[i] ? values[i] : "";
    }
    last.codePage = CodePageOf(env);
    return last.codePage;
}

std::optional<std::string> UnwritableCodePageSetting() {
    const char* value = ReadCodePageEnvironment().codePage;
    if (!value || !*value) return std::nullopt;
    std::optional<std::int32_t> number = ToInt32(value);
    if (number && *number > 0) {
        iconv_t cd = iconv_open(CodePageCharset(*number).c_str(), "UTF-8");
        if (cd != reinterpret_cast<iconv_t>(-1)) {
            iconv_close(cd);
            return std::nullopt;
        }
    }
    return std::string(value);
}

std::string FromUtf8ToCodePage(std::string_view utf8, int codePage) {
    if (PassesUnchanged(utf8, codePage)) return std::string(utf8);
    return Convert(utf8, "UTF-8", CodePageCharset(codePage), false);
}

std::string_view FromUtf8ToCodePage(std::string_view utf8, int codePage, std::string& buffer) {
    if (PassesUnchanged(utf8, codePage)) return utf8;
    buffer = Convert(utf8, "UTF-8", CodePageCharset(codePage), false);
    return buffer;
}

std::string FromCodePageToUtf8(std::string_view text, int codePage) {
    if (PassesUnchanged(text, codePage)) return std::string(text);
    return Convert(text, CodePageCharset(codePage), "UTF-8", true);
}

std::string ForTerminal(std::string_view utf8) {
    const std::string cs = LocaleCharset();
    if (cs.empty() || cs == "UTF-8" || cs == "UTF8") return std::string(utf8);
    return Convert(utf8, "UTF-8", cs + "//TRANSLIT", false);
}

}  // namespace platform
