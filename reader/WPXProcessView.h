#pragma once
#include <optional>
#include <string>
#include <vector>

#include "reader/WPXModel.h"

/// What a process of a definition file draws and connects: its activities with their layout
/// positions, its sources and sinks, its connectors with their ends and bend points. Read from
/// the model's lines, for the checker and the preview alike.
namespace wpx {

struct Point {
    long long x = 0;
    long long y = 0;
};

/// One end of a connector: an activity by name, or a numbered source or sink.
struct ConnectorEnd {
    enum class Type { None, Activity, Source, Sink };
    Type type = Type::None;
    std::string name;  ///< activity name without quotes
    int number = 0;    ///< source or sink number
    /// The end as the file writes it ("'Check'", "SOURCE 1").
    std::string Text() const;
};

struct ActivityView {
    Kind kind = Kind::ProgramActivity;
    std::string name;
    int line = 0;
    std::optional<Point> position;  ///< from LAYOUT
    int layoutLine = 0;
};

struct PortView {
    bool source = true;
    int number = 0;
    int line = 0;
    std::optional<Point> position;
};

struct ConnectorView {
    Kind kind = Kind::Control;
    int line = 0;
    bool linked = false;  ///< a FROM or LOOP line was read
    int linkLine = 0;
    ConnectorEnd from, to;
    std::optional<Point> bend;  ///< from LAYOUT
    int layoutLine = 0;
};

struct ProcessView {
    std::string name;
    int line = 0;
    long long width = 21000, height = 21000;  ///< from WINDOW, else the exporter's fixed window
    std::vector<ActivityView> activities;
    std::vector<PortView> ports;
    std::vector<ConnectorView> connectors;
    /// Lines whose values do not have the form their keyword needs: line and keyword.
    std::vector<std::pair<int, std::string>> malformed;
};

/// The view of a PROCESS block, or of a BLOCK activity's inner activities and connectors.
ProcessView DescribeProcess(const Item& process);

/// "XPOS x YPOS y" read into a point.
std::optional<Point> ParsePosition(const std::string& text);

}  // namespace wpx
