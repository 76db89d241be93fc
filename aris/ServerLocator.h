#pragma once
// Where the local ARIS server finds its servers, databases and type table: the directories of
// $LUMENPORT_ARIS_SERVERS, then $XDG_DATA_HOME/lumenport/aris, then the demo server shipped
// beside the program. A server is a subdirectory, a database an AML file NAME.xml or NAME.aml
// in it; both names compare ignoring case.
#include <optional>
#include <string>
#include <vector>

namespace aris {

/// The folder of the running program (from /proc/self/exe), "" when it cannot be found.
std::string ExecutableFolder();

/// The server directories in search order (existing or not).
std::vector<std::string> ServerSearchPath();

/// A database file found on a server.
struct DatabaseLocation {
    std::string serverDirectory;  ///< the server's directory
    std::string serverName;       ///< its name as spelled on disk
    std::string file;             ///< the AML file
    std::string databaseName;     ///< the file name without extension
};

/// Find database `database` on server `server` in the search path; `database` may carry the
/// file's extension (".xml" or ".aml"). Throws ServerError(440) naming what was looked for and
/// where when there is no such server or database.
DatabaseLocation FindDatabase(const std::string& server, const std::string& database);

/// An AML file read directly: the database is the file's name without ".xml"/".aml", the
/// server its folder. Throws ServerError(440) when the file is not there.
DatabaseLocation AmlFileLocation(const std::string& path);

/// The user's own settings folder: $XDG_CONFIG_HOME/lumenport, else ~/.config/lumenport;
/// "" when neither variable is set.
std::string UserConfigFolder();

/// The user's own type table, <settings folder>/types.tsv (existing or not; "" when there is
/// no settings folder).
std::string UserTypeTablePath();

/// The type table of a server folder, <folder>/types.tsv, when it exists; "" otherwise.
std::string ServerTypeTablePath(const std::string& serverDirectory);

/// The built-in type table file: <program folder>/aris-types.tsv, else
/// <program folder>/../share/lumenport/aris-types.tsv; nullopt when neither exists.
std::optional<std::string> FindBuiltInTypeTable();

/// The candidate paths of the built-in type table, for messages.
std::vector<std::string> BuiltInTypeTableCandidates();

}  // namespace aris
