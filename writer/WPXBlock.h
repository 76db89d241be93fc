#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "constructs/modWPXWriter.h"

/// The text of one block of the definition file, written with one WriteFile call. Every line
/// begins with a line end, so the text begins with one and the block is separated from the
/// one before by an empty line (the write adds the final line end).
class WPXBlock {
public:
    /// One line at an indentation level.
    WPXBlock& Line(std::int16_t level, std::string_view text) {
        text_ += kLineEnd;
        text_ += modWPXWriter::Indent(level);
        text_ += text;
        return *this;
    }
    /// Keyword (with its trailing blank) and value on one line; nothing when the value is empty.
    WPXBlock& LineIfSet(std::int16_t level, std::string_view keyword, const std::string& value) {
        if (value.empty()) return *this;
        return Line(level, std::string(keyword) + value);
    }
    /// The value alone on one line; nothing when it is empty.
    WPXBlock& RawIfSet(std::int16_t level, const std::string& value) {
        if (value.empty()) return *this;
        return Line(level, value);
    }
    /// Text appended to the last line.
    WPXBlock& Append(std::string_view text) {
        text_ += text;
        return *this;
    }
    const std::string& Text() const { return text_; }

    static constexpr const char* kLineEnd = "\r\n";

private:
    std::string text_;
};
