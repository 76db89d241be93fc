#pragma once
#include <string>

/// The files an export writes into: the definition file and its log. Everything below the
/// program's top writes through this; clsIOHandler implements it over the files on disk.
class ExportFiles {
public:
    virtual ~ExportFiles() = default;
    /// Append the text and CR LF (an empty name means the definition file).
    virtual void WriteFile(const std::string& text, const std::string& fileName = "") = 0;
    /// Append one line to the log.
    virtual void WriteLog(const std::string& text) = 0;
};
