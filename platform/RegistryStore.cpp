#include "platform/RegistryStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>

#include "platform/Error.h"
#include "platform/Text.h"

namespace platform {

namespace {

constexpr const char* kHeader = "Windows Registry Editor Version 5.00";

// Process-wide: problems with the settings files are told once per process, whichever export
// (or listing) met them, and the settings store lies below any export's state.
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
std::mutex g_reportMutex;
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
std::vector<std::string> g_reports;
// NOLINTNEXTLINE(cppcoreguidelines-avoid-non-const-global-variables): process-wide, as said above
std::set<std::string> g_reported;

void Report(const std::string& text) {
    const std::lock_guard<std::mutex> lock(g_reportMutex);
    if (g_reported.insert(text).second) g_reports.push_back(text);
}

// A UTF-16LE file (what regedit writes) turned into UTF-8; other bytes pass unchanged.
std::string ToUtf8(const std::string& raw) {
    if (raw.size() >= 2 && static_cast<unsigned char>(raw[0]) == 0xFF && static_cast<unsigned char>(raw[1]) == 0xFE) {
        std::u32string cps;
        for (std::size_t i = 2; i + 1 < raw.size(); i += 2) {
            char32_t u = static_cast<unsigned char>(raw[i]) | (static_cast<unsigned char>(raw[i + 1]) << 8);
            if (u >= 0xD800 && u <= 0xDBFF && i + 3 < raw.size()) {
                const char32_t lo =
                    static_cast<unsigned char>(raw[i + 2]) | (static_cast<unsigned char>(raw[i + 3]) << 8);
                if (lo >= 0xDC00 && lo <= 0xDFFF) {
                    u = 0x10000 + ((u - 0xD800) << 10) + (lo - 0xDC00);
                    i += 2;
                }
            }
            cps.push_back(u);
        }
        return EncodeUtf8(cps);
    }
    if (raw.size() >= 3 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) return raw.substr(3);
    return raw;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        pos = nl + 1;
    }
    return lines;
}

bool ReadWholeFile(const std::string& path, std::string& out, int& err) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        err = errno;
        return false;
    }
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    const bool bad = std::ferror(f);
    err = bad ? errno : 0;
    std::fclose(f);
    return !bad;
}

// The parsed form of one line of a hive file.
struct Line {
    enum Kind { Blank, Header, Key, Value, Other } kind = Other;
    std::string key;   // for Key lines: the full key path
    std::string name;  // for Value lines: the value name ("" for the default value "@")
    std::string data;  // for Value lines: the text after "="
    bool broken = false;
    bool continues = false;     // ends in "\\": the next line belongs to the same value
    bool continuation = false;  // a following line of a value written over several lines
};

// Parse a quoted name at the start of `s`; on success `end` points after the closing quote.
bool ParseQuoted(const std::string& s, std::size_t start, std::string& out, std::size_t& end) {
    if (start >= s.size() || s[start] != '"') return false;
    out.clear();
    for (std::size_t i = start + 1; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' && i + 1 < s.size()) {
            out.push_back(s[++i]);
            continue;
        }
        if (c == '"') {
            end = i + 1;
            return true;
        }
        out.push_back(c);
    }
    return false;
}

Line ParseLine(const std::string& raw) {
    Line line;
    std::string t = Trim(raw);
    if (t.empty() || t[0] == ';') {
        line.kind = Line::Blank;
        return line;
    }
    if (t == kHeader || t == "REGEDIT4") {
        line.kind = Line::Header;
        return line;
    }
    if (t[0] == '[') {
        if (t.back() != ']') {
            line.broken = true;
            return line;
        }
        line.kind = Line::Key;
        line.key = t.substr(1, t.size() - 2);
        return line;
    }
    std::size_t after = 0;
    if (t[0] == '@') {
        line.name.clear();
        after = 1;
    } else if (!ParseQuoted(t, 0, line.name, after)) {
        line.broken = true;
        return line;
    }
    std::size_t eq = after;
    while (eq < t.size() && t[eq] == ' ') ++eq;
    if (eq >= t.size() || t[eq] != '=') {
        line.broken = true;
        return line;
    }
    line.kind = Line::Value;
    line.data = Trim(std::string_view(t).substr(eq + 1));
    return line;
}

RegValue DecodeData(const std::string& data, bool& broken) {
    broken = false;
    if (!data.empty() && data[0] == '"') {
        std::string text;
        std::size_t end = 0;
        if (!ParseQuoted(data, 0, text, end) || !Trim(std::string_view(data).substr(end)).empty()) {
            broken = true;
            return {};
        }
        return text;
    }
    if (data.size() > 6 && EqualsIgnoringCase(data.substr(0, 6), "dword:")) {
        const std::string hex = data.substr(6);
        if (hex.size() != 8) {
            broken = true;
            return {};
        }
        std::uint32_t v = 0;
        for (const char c : hex) {
            int d;
            if (c >= '0' && c <= '9') d = c - '0';
            else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
            else {
                broken = true;
                return {};
            }
            v = (v << 4) | static_cast<std::uint32_t>(d);
        }
        return static_cast<std::int32_t>(v);
    }
    // hex:, hex(2): and the like are other value types: absent for us, kept in the file.
    if (data.rfind("hex", 0) == 0 || data == "-") return {};
    broken = true;
    return {};
}

std::string EncodeData(const RegValue& value) {
    if (const auto* s = std::get_if<std::string>(&value)) return "\"" + EscapeRegString(*s) + "\"";
    if (const auto* n = std::get_if<std::int32_t>(&value)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", static_cast<std::uint32_t>(*n));
        return buf;
    }
    return "";
}

std::string FullKey(const std::string& root, const std::string& key) {
    std::string k = key;
    while (!k.empty() && k.back() == '\\') k.pop_back();
    return root + "\\" + k;
}

struct ParsedFile {
    std::vector<std::string> raw;
    std::vector<Line> lines;
};

ParsedFile Parse(const std::string& path, const std::string& text) {
    ParsedFile pf;
    pf.raw = SplitLines(text);
    bool continuation = false;
    for (std::size_t i = 0; i < pf.raw.size(); ++i) {
        if (continuation) {
            Line l;
            l.kind = Line::Other;
            l.continuation = true;
            l.continues = !TrimRight(pf.raw[i]).empty() && TrimRight(pf.raw[i]).back() == '\\';
            continuation = l.continues;
            pf.lines.push_back(l);
            continue;
        }
        Line l = ParseLine(pf.raw[i]);
        if (l.kind == Line::Value) {
            std::string d = TrimRight(l.data);
            if (!d.empty() && d.back() == '\\' && d.rfind("hex", 0) == 0) l.continues = continuation = true;
        }
        if (l.broken) Report(path + ":" + std::to_string(i + 1) + ": line not understood, kept as it is: " + pf.raw[i]);
        pf.lines.push_back(l);
    }
    return pf;
}

void EnsureParentDirectory(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return;
    const std::string dir = path.substr(0, slash);
    EnsureParentDirectory(dir);
    ::mkdir(dir.c_str(), 0755);
}

[[noreturn]] void RaiseFileError(int err, const std::string& what) {
    const int number = FileErrorNumber(err);
    throw Error(number, StandardErrorDescription(number) + ": " + what + " (" + std::strerror(err) + ")");
}

}  // namespace

RegistryHive::RegistryHive(std::string path, std::string root) : path_(std::move(path)), root_(std::move(root)) {}

std::vector<std::string> RegistryHive::TakeReports() {
    const std::lock_guard<std::mutex> lock(g_reportMutex);
    std::vector<std::string> out;
    out.swap(g_reports);
    return out;
}

RegValue RegistryHive::Read(const std::string& key, const std::string& name) const {
    std::string raw;
    int err = 0;
    if (!ReadWholeFile(path_, raw, err)) {
        if (err != ENOENT) Report(path_ + ": cannot be read (" + std::strerror(err) + "); its values count as absent");
        return {};
    }
    ParsedFile pf = Parse(path_, ToUtf8(raw));
    const std::string wanted = FullKey(root_, key);
    bool inKey = false;
    RegValue found;
    for (std::size_t i = 0; i < pf.lines.size(); ++i) {
        const Line& l = pf.lines[i];
        if (l.kind == Line::Key) inKey = EqualsIgnoringCase(l.key, wanted);
        else if (inKey && l.kind == Line::Value && EqualsIgnoringCase(l.name, name)) {
            bool broken = false;
            found = DecodeData(l.data, broken);
            if (broken)
                Report(path_ + ":" + std::to_string(i + 1) + ": value \"" + name + "\" not understood, read as absent");
        }
    }
    return found;
}

void RegistryHive::Write(const std::string& key, const std::string& name, const RegValue& value) const {
    EnsureParentDirectory(path_);
    const std::string lockPath = path_ + ".lock";
    const int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) RaiseFileError(errno, lockPath);
    struct Unlock {
        int fd;
        ~Unlock() {
            ::flock(fd, LOCK_UN);
            ::close(fd);
        }
    } const unlock{lockFd};
    ::flock(lockFd, LOCK_EX);

    std::string raw;
    int err = 0;
    const bool exists = ReadWholeFile(path_, raw, err);
    if (!exists && err != ENOENT) RaiseFileError(err, path_);
    ParsedFile pf = Parse(path_, ToUtf8(raw));

    const std::string wanted = FullKey(root_, key);
    const std::string newLine = "\"" + EscapeRegString(name) + "\"=" + EncodeData(value);
    long keyLine = -1, valueLine = -1, lastInKey = -1;
    bool inKey = false;
    for (std::size_t i = 0; i < pf.lines.size(); ++i) {
        const Line& l = pf.lines[i];
        if (l.kind == Line::Key) {
            inKey = EqualsIgnoringCase(l.key, wanted);
            if (inKey && keyLine < 0) {
                keyLine = static_cast<long>(i);
                lastInKey = static_cast<long>(i);
            }
            continue;
        }
        if (!inKey) continue;
        if (l.kind != Line::Blank) lastInKey = static_cast<long>(i);
        if (l.kind == Line::Value && EqualsIgnoringCase(l.name, name)) valueLine = static_cast<long>(i);
    }

    std::vector<std::string>& out = pf.raw;
    if (valueLine >= 0) {
        // Keep the spelling of the name the file already has.
        const std::string& existing = pf.lines[static_cast<std::size_t>(valueLine)].name;
        out[static_cast<std::size_t>(valueLine)] = "\"" + EscapeRegString(existing) + "\"=" + EncodeData(value);
        // The lines that continued the old value belong to it and go with it; left behind they
        // would be read as lines of their own.
        const std::size_t following = static_cast<std::size_t>(valueLine) + 1;
        std::size_t end = following;
        while (end < pf.lines.size() && pf.lines[end].continuation) ++end;
        out.erase(out.begin() + static_cast<long>(following), out.begin() + static_cast<long>(end));
    } else if (keyLine >= 0) {
        // A value whose last line still announces a continuation would swallow the new line:
        // an empty line ends it first.
        if (pf.lines[static_cast<std::size_t>(lastInKey)].continues) {
            out.insert(out.begin() + lastInKey + 1, std::string());
            ++lastInKey;
        }
        out.insert(out.begin() + lastInKey + 1, newLine);
    } else {
        bool hasHeader = false;
        for (const Line& l : pf.lines)
            if (l.kind == Line::Header) hasHeader = true;
        if (!hasHeader) out.insert(out.begin(), std::string(kHeader));
        while (!out.empty() && Trim(out.back()).empty()) out.pop_back();
        out.emplace_back();
        out.push_back("[" + wanted + "]");
        out.push_back(newLine);
    }

    std::string text;
    for (const std::string& l : out) text += l + "\r\n";

    const std::string tmp = path_ + ".tmp." + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) RaiseFileError(errno, tmp);
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            const int e = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            RaiseFileError(e, path_);
        }
        done += static_cast<std::size_t>(n);
    }
    struct stat st {};
    if (exists && ::stat(path_.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        RaiseFileError(e, path_);
    }
    if (::rename(tmp.c_str(), path_.c_str()) != 0) {
        const int e = errno;
        ::unlink(tmp.c_str());
        RaiseFileError(e, path_);
    }
}

std::string EscapeRegString(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    return out;
}

std::string UserHivePath() {
    if (const char* p = std::getenv("LUMENPORT_USER_REG"); p && *p) return p;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x) return std::string(x) + "/lumenport/user.reg";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/lumenport/user.reg";
}

std::string MachineHivePath() {
    if (const char* p = std::getenv("LUMENPORT_MACHINE_REG"); p && *p) return p;
    return "/etc/lumenport/machine.reg";
}

}  // namespace platform
