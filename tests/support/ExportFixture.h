#pragma once
// Whole-program exports for end-to-end tests: an AML database in a server folder of a sandbox,
// the program run in batch mode, the definition file and the log compared byte for byte with
// the expected files beside the fixture (the header's date masked).
#include <string>

namespace testenv {

/// One export of a fixture folder holding <database>.xml, expected.wpx, expected.log and,
/// optionally, user.reg (the settings of the export) and expected.err (the warnings expected
/// on standard error).
struct ExportCase {
    std::string folder;              ///< the fixture folder, ending in "/"
    std::string database;            ///< served as /SVR=T /DB=<database>
    std::string selection;           ///< the /SEL text
    std::string locale;              ///< the /LOC value
    std::string output = "out.wpx";  ///< the definition file named with --output, in the sandbox
    std::string log = "out.log";     ///< where its log is expected, in the sandbox
};

/// Run the export in a fresh sandbox (code page 1252, C locale) and expect status 0, standard
/// error as in expected.err (nothing without it) followed by the end-of-run summary (equal to
/// expected.summary when the fixture has one), and the definition file and log equal to the
/// expected files; a difference is reported with its first differing line. No file of the
/// sandbox's output folder other than these two may be written.
void ExpectExportAsExpected(const ExportCase& export_);

/// Expect that standard error holds the end-of-run summary and nothing else: equal to the
/// fixture's expected.summary when there is one (`folder` written as "<dir>").
void ExpectOnlyTheSummary(const std::string& err, const std::string& folder, const std::string& fixture);
/// `text` with every occurrence of `folder` written as "<dir>".
std::string MaskFolder(const std::string& text, const std::string& folder);

/// Empty when equal; otherwise the first differing line, numbered from 1, with both versions.
std::string FirstDifference(const std::string& expected, const std::string& actual);
/// The header's date replaced by "<date>" after checking its shape "yyyy ddd mmm d  hh:mm:ss".
std::string MaskDate(const std::string& file);

}  // namespace testenv
