#pragma once
// The local ARIS server: opens AML exports as databases. CreateApplication (Automation.h) gives
// the application object whose "Report" component opens a database by server and database name
// (see ServerLocator.h); the functions here load an export directly.
#include <iosfwd>
#include <memory>
#include <string>

#include "aris/Automation.h"
#include "aris/TypeTable.h"

namespace aris {

class LoadObserver;  // aris/AmlReader.h

/// Load an AML document held in memory. `sourceName` names it in messages; the database's name
/// is its file name without extension. The load report goes to `report`; a non-empty
/// `serverTypesTsvPath` names a type table that extends and overrides the built-in one.
/// Throws ServerError(440) for a malformed document or an unreadable type table.
std::unique_ptr<Database> LoadAmlText(const std::string& xml, const std::string& sourceName, std::ostream& report,
                                      const std::string& serverTypesTsvPath = "");

/// Load an AML file; as LoadAmlText. Throws ServerError(440) when the file cannot be read.
std::unique_ptr<Database> LoadAmlFile(const std::string& path, std::ostream& report,
                                      const std::string& serverTypesTsvPath = "");

/// Open an AML file directly, as database <file name without .xml/.aml> on a server named
/// after its folder; the folder's types.tsv, when there is one, serves as the server's table.
/// Throws ServerError(440) when the file is missing, unreadable or malformed.
std::unique_ptr<Database> OpenAmlExport(const std::string& path, const std::string& user);

/// The observer told how far the reading of an AML file has come (none: nullptr), for every
/// file opened from now on; returns the previous one.
LoadObserver* SetLoadObserver(LoadObserver* observer);

/// The user's own type table (UserTypeTablePath), nullptr when there is none. Malformed lines
/// are reported to `report`; throws ServerError(440) when the file cannot be read.
std::unique_ptr<TypeTable> LoadUserTypeTable(std::ostream& report);

/// The built-in type table (aris-types.tsv beside the program), read once. Throws
/// ServerError(440) when it cannot be found or read.
const TypeTable& BuiltInTypeTable();

}  // namespace aris
