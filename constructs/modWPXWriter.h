#pragma once
#include <cstdint>
#include <string>

#include "mapping/clsPath.h"

/// Formatting helpers of the definition file writer.
namespace modWPXWriter {

/// `level` TAB characters ("" for 0); a negative level raises error 5.
std::string Indent(std::int16_t level);

/// The description text of a connector from the objects on its paths that occur: one line per
/// contribution, each beginning with a line end and three TABs. With a rule name, the value of
/// that attribute rule per object ("<type> '<name>' <value>", when not empty); without one,
/// every maintained attribute of the object ("<type> '<name>' (<attribute type>): <value>").
std::string SetupPrintingOfConnectorAttribute(const PathCollection& paths, const std::string& ruleName = "");

}  // namespace modWPXWriter
