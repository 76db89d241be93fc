#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace platform {

/// A settings value as read from a hive: absent, a text (REG_SZ) or a 32-bit number (REG_DWORD).
using RegValue = std::variant<std::monostate, std::string, std::int32_t>;

/// Value types that can be written.
enum class RegType : int { String = 1, DWord = 4 };

/// One hive kept as a file in the registry export format ("Windows Registry Editor Version
/// 5.00"). Key and value names compare ignoring case. Lines the store does not understand are
/// kept as they are when the file is rewritten, and reported once with file and line.
class RegistryHive {
public:
    /// A hive file and the root written in its key lines ("HKEY_CURRENT_USER").
    RegistryHive(std::string path, std::string root);

    /// Read a value of `key` (below the root, "Software\...\"); absent when the file, the key or
    /// the value is missing or the value has another type.
    RegValue Read(const std::string& key, const std::string& name) const;

    /// Write one value under `key`, creating the file and key when needed. Every other line of
    /// the file is kept. The file is replaced atomically (temporary file, then rename) under an
    /// exclusive lock, so two programs saving at once never lose each other's values.
    void Write(const std::string& key, const std::string& name, const RegValue& value) const;

    const std::string& Path() const { return path_; }

    /// Problems found while reading ("file:line: text"); each reported only once per run.
    static std::vector<std::string> TakeReports();

private:
    std::string path_;
    std::string root_;
};

/// The user hive: $LUMENPORT_USER_REG, else $XDG_CONFIG_HOME/lumenport/user.reg, else
/// ~/.config/lumenport/user.reg.
std::string UserHivePath();
/// The machine hive: $LUMENPORT_MACHINE_REG, else /etc/lumenport/machine.reg.
std::string MachineHivePath();

/// Escape a text for a quoted value ("\\" and "\"").
std::string EscapeRegString(const std::string& text);

}  // namespace platform
