#pragma once
#include <string>
#include <vector>

#include "platform/OrderedCollection.h"
#include "platform/RegistryStore.h"

/// Shared helpers: language resources and message texts, the settings store, string lists.
namespace modUtilities {

/// The program's own settings key.
inline constexpr const char* kProgramKey = "Software\\Veltrane\\Lumenport\\CurrentVersion\\";
/// The ARIS tool-integration key with the output proposal.
inline constexpr const char* kToolIntegrationKey = "Software\\IDS Scheer\\Aris\\5.0\\ToolIntegration\\veltrane";

/// Load the language library named by "Language"; when neither hive sets it, the library of
/// the locale's language (LC_ALL, LC_MESSAGES, LANG) when there is one, else "ENU". On failure
/// show the message box (unless `quiet`) and return false.
bool LoadLocalizedResources(bool quiet = false);
/// The file name of the language library for a code ("kvbrdeu.so").
std::string LanguageLibraryFileName(const std::string& code);

/// Text of one catalog entry; "" without library; a fall-back text for a missing entry.
std::string GetStringFromResourceFile(int id);
/// Catalog text with its placeholders filled; an empty parameter stops the substitution.
std::string GetNLSString(int id, const std::string& p1 = "", const std::string& p2 = "", const std::string& p3 = "",
                         const std::string& p4 = "");
/// GetNLSString without parameters.
std::string Get_NLS_String_Message(int id);
/// Message id text followed by the filled catalog text: one log line.
std::string GetNLSMessage(int severity, int id, const std::string& p1 = "", const std::string& p2 = "",
                          const std::string& p3 = "", const std::string& p4 = "");

/// A value from the user hive, else from the machine hive; absent when in neither.
platform::RegValue GetProfileValue(const std::string& key, const std::string& name);
/// A value of one hive: text for REG_SZ, number for REG_DWORD, absent otherwise.
platform::RegValue QueryValueEx(const platform::RegistryHive& hive, const std::string& key, const std::string& name);
/// Write a value into the user hive, creating the key when needed.
void SetProfileValue(const std::string& key, const std::string& name, const platform::RegValue& value,
                     platform::RegType type);
/// Write a text (type 1) or 32-bit number (type 4) into one hive.
void SetValueEx(const platform::RegistryHive& hive, const std::string& key, const std::string& name,
                const platform::RegValue& value, platform::RegType type);
/// The user hive and the machine hive of this run.
platform::RegistryHive UserHive();
platform::RegistryHive MachineHive();

/// The pieces of a text split at every separator, empty pieces included; "" gives none.
platform::OrderedCollection<std::string> ConvertStringListToCollection(const std::string& text, char separator);
/// The piece with an index from 0; the last piece when there are fewer; "" for an empty text.
std::string GetStringListItem(const std::string& text, char separator, int index);

}  // namespace modUtilities
