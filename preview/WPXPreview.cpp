#include "preview/WPXPreview.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <unordered_map>

#include "platform/CodePage.h"
#include "platform/Text.h"
#include "reader/WPXChecker.h"
#include "reader/WPXReader.h"

namespace wpx {

namespace {

// The picture is 1000 by 1000 pixels below a title band. It shows the part of the window that
// holds the process, scaled so that names stay readable; a small map in the title band shows
// the whole window and that part of it.
constexpr double kSize = 1000;
constexpr double kBand = 90;
constexpr double kBoxHeight = 34;
constexpr double kFontSize = 14;
constexpr double kPortRadius = 11;
constexpr double kMargin = 0.3;  // share of the picture kept free around the content

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Num(double value) {
    const double rounded = std::round(value * 10) / 10;
    std::string text = std::to_string(rounded);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text == "-0" ? "0" : text;
}

struct Box {
    double x = 0, y = 0;  // centre in pixels
    double halfWidth = 0, halfHeight = 0;
    bool round = false;  // a source or sink: a circle
};

double BoxWidth(const std::string& name) {
    return std::max(110.0, static_cast<double>(platform::CharCount(name)) * kFontSize * 0.6 + 24);
}

// The point where the line from the box's centre towards (towardsX, towardsY) leaves the box.
void Edge(const Box& box, double towardsX, double towardsY, double& x, double& y) {
    const double dx = towardsX - box.x;
    const double dy = towardsY - box.y;
    x = box.x;
    y = box.y;
    if (dx == 0 && dy == 0) return;
    double t;
    if (box.round) {
        t = box.halfWidth / std::hypot(dx, dy);
    } else {
        const double tx = dx != 0 ? box.halfWidth / std::fabs(dx) : 1e300;
        const double ty = dy != 0 ? box.halfHeight / std::fabs(dy) : 1e300;
        t = std::min(tx, ty);
    }
    if (t >= 1) return;
    x = box.x + dx * t;
    y = box.y + dy * t;
}

std::string PortLabel(bool source, int number) { return (source ? "SOURCE " : "SINK ") + std::to_string(number); }

// From window units (y upwards, centre 0) to pixels of the picture.
struct Scale {
    double centreX = 0, centreY = 0, unitsPerPixel = 1;
    double X(double x) const { return (x - centreX) / unitsPerPixel + kSize / 2; }
    double Y(double y) const { return (centreY - y) / unitsPerPixel + kSize / 2 + kBand; }
};

Scale ScaleFor(const ProcessView& view) {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    bool any = false;
    auto take = [&](const Point& p) {
        const double x = static_cast<double>(p.x);
        const double y = static_cast<double>(p.y);
        if (!any) {
            minX = maxX = x;
            minY = maxY = y;
            any = true;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    };
    for (const ActivityView& activity : view.activities)
        if (activity.position) take(*activity.position);
    for (const PortView& port : view.ports)
        if (port.position) take(*port.position);
    for (const ConnectorView& connector : view.connectors)
        if (connector.bend) take(*connector.bend);
    const double window = static_cast<double>(std::max(view.width, view.height));
    Scale scale;
    double extent = std::max(maxX - minX, maxY - minY) / (1 - 2 * kMargin);
    extent = std::clamp(extent, window / 10, window);
    scale.centreX = (minX + maxX) / 2;
    scale.centreY = (minY + maxY) / 2;
    scale.unitsPerPixel = extent / kSize;
    return scale;
}

}  // namespace

std::string ProcessSvgName(std::size_t number) { return "process-" + std::to_string(number) + ".svg"; }

std::string ProcessSvg(const ProcessView& view) {
    const Scale scale = ScaleFor(view);
    const double w = static_cast<double>(view.width), h = static_cast<double>(view.height);
    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Num(kSize) + "\" height=\"" + Num(kSize + kBand) +
           "\" viewBox=\"0 0 " + Num(kSize) + " " + Num(kSize + kBand) +
           "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    svg += "<title>" + Escape(view.name) + "</title>\n";
    svg += "<defs><clipPath id=\"picture\"><rect x=\"0\" y=\"" + Num(kBand) + "\" width=\"" + Num(kSize) +
           "\" height=\"" + Num(kSize) + "\"/></clipPath>";
    for (const auto& [id, colour] : {std::pair{"arrow-control", "#2d3748"}, std::pair{"arrow-data", "#6b46c1"}})
        svg += std::string("<marker id=\"") + id +
               "\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" markerWidth=\"6\" "
               "markerHeight=\"6\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"" +
               colour + "\"/></marker>";
    svg += "</defs>\n";
    svg += "<rect width=\"" + Num(kSize) + "\" height=\"" + Num(kSize + kBand) + "\" fill=\"#ffffff\"/>\n";
    svg += "<rect x=\"0\" y=\"" + Num(kBand) + "\" width=\"" + Num(kSize) + "\" height=\"" + Num(kSize) +
           "\" fill=\"#edf2f7\"/>\n";
    // The window itself: its part in the picture is light, the rest grey.
    svg += "<rect class=\"window\" clip-path=\"url(#picture)\" x=\"" + Num(scale.X(-w / 2)) + "\" y=\"" +
           Num(scale.Y(h / 2)) + "\" width=\"" + Num(w / scale.unitsPerPixel) + "\" height=\"" +
           Num(h / scale.unitsPerPixel) + "\" fill=\"#f7fafc\" stroke=\"#a0aec0\" stroke-width=\"2\"/>\n";
    svg += "<text x=\"16\" y=\"56\" font-size=\"30\" font-weight=\"bold\" fill=\"#1a202c\">" + Escape(view.name) +
           "</text>\n";

    // The map of the whole window, with the part the picture shows.
    const double mapSize = 70, mapX = kSize - mapSize - 12, mapY = 10, mapScale = mapSize / std::max(w, h);
    svg += "<g class=\"map\"><rect x=\"" + Num(mapX) + "\" y=\"" + Num(mapY) + "\" width=\"" + Num(w * mapScale) +
           "\" height=\"" + Num(h * mapScale) + "\" fill=\"#f7fafc\" stroke=\"#a0aec0\"/>";
    const double shownX = scale.centreX - kSize / 2 * scale.unitsPerPixel;
    const double shownY = scale.centreY + kSize / 2 * scale.unitsPerPixel;
    svg += "<rect x=\"" + Num(mapX + (shownX + w / 2) * mapScale) + "\" y=\"" +
           Num(mapY + (h / 2 - shownY) * mapScale) + "\" width=\"" + Num(kSize * scale.unitsPerPixel * mapScale) +
           "\" height=\"" + Num(kSize * scale.unitsPerPixel * mapScale) + "\" fill=\"none\" stroke=\"#c53030\"/>";
    svg += "<text x=\"" + Num(mapX - 6) + "\" y=\"" + Num(mapY + mapSize - 2) +
           "\" font-size=\"10\" text-anchor=\"end\" fill=\"#4a5568\">" + Num(w) + " x " + Num(h) + "</text></g>\n";

    // Boxes: activities at their positions; those without one in a row along the bottom.
    std::unordered_map<std::string, Box> activityBoxes;
    double unplacedX = 20;
    std::vector<std::pair<const ActivityView*, Box>> boxes;
    for (const ActivityView& activity : view.activities) {
        Box box;
        box.halfWidth = BoxWidth(activity.name) / 2;
        box.halfHeight = kBoxHeight / 2;
        if (activity.position) {
            box.x = scale.X(static_cast<double>(activity.position->x));
            box.y = scale.Y(static_cast<double>(activity.position->y));
        } else {
            box.x = unplacedX + box.halfWidth;
            box.y = kBand + kSize - 30;
            unplacedX += 2 * box.halfWidth + 12;
        }
        activityBoxes.emplace(activity.name, box);
        boxes.emplace_back(&activity, box);
    }
    std::map<std::pair<bool, int>, Box> portBoxes;
    int unplacedPorts[2] = {0, 0};
    auto addPort = [&](bool source, int number, const std::optional<Point>& position) {
        auto key = std::make_pair(source, number);
        if (portBoxes.count(key)) return;
        Box box;
        box.round = true;
        box.halfWidth = box.halfHeight = kPortRadius;
        if (position) {
            box.x = scale.X(static_cast<double>(position->x));
            box.y = scale.Y(static_cast<double>(position->y));
        } else {
            int& n = unplacedPorts[source ? 0 : 1];
            box.x = source ? 30 : kSize - 30;
            box.y = kBand + 40 + 50 * n++;
        }
        portBoxes.emplace(key, box);
    };
    for (const PortView& port : view.ports) addPort(port.source, port.number, port.position);
    // Sources and sinks that connectors name without a SOURCE or SINK line: along the edges.
    for (const ConnectorView& connector : view.connectors) {
        for (const ConnectorEnd* end : {&connector.from, &connector.to}) {
            if (end->type == ConnectorEnd::Type::Source || end->type == ConnectorEnd::Type::Sink)
                addPort(end->type == ConnectorEnd::Type::Source, end->number, std::nullopt);
        }
    }
    auto boxOf = [&](const ConnectorEnd& end) -> const Box* {
        if (end.type == ConnectorEnd::Type::Activity) {
            auto found = activityBoxes.find(end.name);
            return found == activityBoxes.end() ? nullptr : &found->second;
        }
        if (end.type == ConnectorEnd::Type::None) return nullptr;
        auto found = portBoxes.find({end.type == ConnectorEnd::Type::Source, end.number});
        return found == portBoxes.end() ? nullptr : &found->second;
    };

    // Connectors first, so the boxes lie over their ends.
    svg += "<g clip-path=\"url(#picture)\">\n";
    for (const ConnectorView& connector : view.connectors) {
        const Box* from = boxOf(connector.from);
        const Box* to = boxOf(connector.to);
        if (!connector.linked || !from || !to) continue;
        const bool control = connector.kind == Kind::Control;
        const std::string style = control ? "stroke=\"#2d3748\" stroke-width=\"2\" marker-end=\"url(#arrow-control)\""
                                          : "stroke=\"#6b46c1\" stroke-width=\"1.8\" stroke-dasharray=\"7 5\" "
                                            "marker-end=\"url(#arrow-data)\"";
        const std::string cls = control ? "control" : "data";
        if (from == to) {
            // A loop: out of the right side and back in at the top.
            const double x = from->x + from->halfWidth;
            const double y = from->y;
            svg += "<path class=\"" + cls + "\" d=\"M" + Num(x) + "," + Num(y) + " C" + Num(x + 60) + "," + Num(y) +
                   " " + Num(x + 50) + "," + Num(y - 55) + " " + Num(x - 20) + "," + Num(y - from->halfHeight) +
                   "\" fill=\"none\" " + style + "/>\n";
            continue;
        }
        double viaX = 0, viaY = 0;
        if (connector.bend) {
            viaX = scale.X(static_cast<double>(connector.bend->x));
            viaY = scale.Y(static_cast<double>(connector.bend->y));
        }
        double startX, startY, endX, endY;
        Edge(*from, connector.bend ? viaX : to->x, connector.bend ? viaY : to->y, startX, startY);
        Edge(*to, connector.bend ? viaX : from->x, connector.bend ? viaY : from->y, endX, endY);
        std::string points = Num(startX) + "," + Num(startY) + " ";
        if (connector.bend) points += Num(viaX) + "," + Num(viaY) + " ";
        points += Num(endX) + "," + Num(endY);
        svg += "<polyline class=\"" + cls + "\" points=\"" + points + "\" fill=\"none\" " + style + "/>\n";
        if (connector.bend)
            svg += "<circle class=\"bend\" cx=\"" + Num(viaX) + "\" cy=\"" + Num(viaY) + "\" r=\"3\" fill=\"" +
                   (control ? "#2d3748" : "#6b46c1") + "\"/>\n";
    }

    for (const auto& [activity, box] : boxes) {
        const std::string x = Num(box.x - box.halfWidth);
        const std::string y = Num(box.y - box.halfHeight);
        const std::string width = Num(2 * box.halfWidth);
        const std::string height = Num(2 * box.halfHeight);
        switch (activity->kind) {
            case Kind::ProcessActivity:
                // A process activity: a double frame.
                svg += "<g class=\"process-activity\"><rect x=\"" + x + "\" y=\"" + y + "\" width=\"" + width +
                       "\" height=\"" + height + "\" fill=\"#e6f4ea\" stroke=\"#2f855a\" stroke-width=\"2\"/>";
                svg += "<rect x=\"" + Num(box.x - box.halfWidth + 4) + "\" y=\"" + Num(box.y - box.halfHeight + 4) +
                       "\" width=\"" + Num(2 * box.halfWidth - 8) + "\" height=\"" + Num(2 * box.halfHeight - 8) +
                       "\" fill=\"none\" stroke=\"#2f855a\" stroke-width=\"1\"/>";
                break;
            case Kind::BlockActivity:
                svg += "<g class=\"block-activity\"><rect x=\"" + x + "\" y=\"" + y + "\" width=\"" + width +
                       "\" height=\"" + height +
                       "\" fill=\"#fef5e7\" stroke=\"#b7791f\" stroke-width=\"2\" stroke-dasharray=\"8 4\"/>";
                break;
            default:
                svg += "<g class=\"program-activity\"><rect x=\"" + x + "\" y=\"" + y + "\" width=\"" + width +
                       "\" height=\"" + height + "\" rx=\"8\" fill=\"#e8f1fb\" stroke=\"#2b6cb0\" stroke-width=\"2\"/>";
                break;
        }
        svg += "<text x=\"" + Num(box.x) + "\" y=\"" + Num(box.y + kFontSize * 0.35) + "\" font-size=\"" +
               Num(kFontSize) + "\" text-anchor=\"middle\" fill=\"#1a202c\">" + Escape(activity->name) +
               "</text></g>\n";
    }
    for (const auto& [key, box] : portBoxes) {
        const bool source = key.first;
        const std::string colour = source ? "#2f855a" : "#c53030";
        svg += "<g class=\"" + std::string(source ? "source" : "sink") + "\"><circle cx=\"" + Num(box.x) + "\" cy=\"" +
               Num(box.y) + "\" r=\"" + Num(kPortRadius) + "\" fill=\"#ffffff\" stroke=\"" + colour +
               "\" stroke-width=\"" + (source ? "2" : "4") + "\"/>";
        svg += "<text x=\"" + Num(box.x) + "\" y=\"" + Num(box.y + kPortRadius + 13) +
               "\" font-size=\"11\" text-anchor=\"middle\" fill=\"" + colour + "\">" + PortLabel(source, key.second) +
               "</text></g>\n";
    }
    svg += "</g>\n";

    // Legend in the title band.
    const double lx = 430;
    const double ly = 40;
    svg += "<g class=\"legend\" font-size=\"11\" fill=\"#4a5568\">";
    svg += "<rect x=\"" + Num(lx) + "\" y=\"" + Num(ly - 8) +
           "\" width=\"24\" height=\"16\" rx=\"4\" "
           "fill=\"#e8f1fb\" stroke=\"#2b6cb0\" stroke-width=\"1.5\"/><text x=\"" +
           Num(lx + 30) + "\" y=\"" + Num(ly + 4) + "\">PROGRAM_ACTIVITY</text>";
    svg += "<rect x=\"" + Num(lx + 150) + "\" y=\"" + Num(ly - 8) +
           "\" width=\"24\" height=\"16\" "
           "fill=\"#e6f4ea\" stroke=\"#2f855a\" stroke-width=\"1.5\"/><text x=\"" +
           Num(lx + 180) + "\" y=\"" + Num(ly + 4) + "\">PROCESS_ACTIVITY</text>";
    svg += "<rect x=\"" + Num(lx + 300) + "\" y=\"" + Num(ly - 8) +
           "\" width=\"24\" height=\"16\" "
           "fill=\"#fef5e7\" stroke=\"#b7791f\" stroke-width=\"1.5\" stroke-dasharray=\"4 2\"/><text x=\"" +
           Num(lx + 330) + "\" y=\"" + Num(ly + 4) + "\">BLOCK</text>";
    svg += "<line x1=\"" + Num(lx + 380) + "\" y1=\"" + Num(ly - 8) + "\" x2=\"" + Num(lx + 405) + "\" y2=\"" +
           Num(ly - 8) + "\" stroke=\"#2d3748\" stroke-width=\"2\"/><text x=\"" + Num(lx + 410) + "\" y=\"" +
           Num(ly - 4) + "\">CONTROL</text>";
    svg += "<line x1=\"" + Num(lx + 380) + "\" y1=\"" + Num(ly + 10) + "\" x2=\"" + Num(lx + 405) + "\" y2=\"" +
           Num(ly + 10) + "\" stroke=\"#6b46c1\" stroke-width=\"1.8\" stroke-dasharray=\"5 3\"/><text x=\"" +
           Num(lx + 410) + "\" y=\"" + Num(ly + 14) + "\">DATA</text>";
    svg += "</g>\n</svg>\n";
    return svg;
}

namespace {

struct Counts {
    std::vector<std::pair<std::string, int>> rows;
    void Add(const std::string& kind) {
        for (auto& row : rows)
            if (row.first == kind) {
                ++row.second;
                return;
            }
    }
};

void CountItems(const std::vector<Item>& items, Counts& counts) {
    for (const Item& item : items) {
        switch (item.kind) {
            case Kind::Structure:
            case Kind::ProcessCategory:
            case Kind::Program:
            case Kind::Person:
            case Kind::Role:
            case Kind::Organization:
            case Kind::Process:
            case Kind::ProgramActivity:
            case Kind::ProcessActivity:
            case Kind::BlockActivity:
            case Kind::Control:
            case Kind::Data: counts.Add(KeywordOf(item.kind)); break;
            default: break;
        }
        CountItems(item.items, counts);
    }
}

std::vector<std::string> SplitAnyLineEnd(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return lines;
}

std::string ExpandTabs(const std::string& line) { return platform::ReplaceAll(line, "\t", "    "); }

}  // namespace

std::string IndexHtml(const std::string& fileName, const File& file, const std::vector<Finding>& findings,
                      std::string_view utf8Text, const TextFunction& text) {
    auto t = [&](int id) { return Escape(text(id)); };
    const std::string title =
        Escape(FillPlaceholders(text(kPageTitle), {std::filesystem::path(fileName).filename().string()}));
    std::string html;
    html += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + title + "</title>\n";
    html +=
        "<style>\n"
        "body{font-family:'DejaVu Sans',Arial,sans-serif;margin:2em;color:#1a202c;background:#ffffff}\n"
        "h1{font-size:1.5em}h2{font-size:1.2em;margin-top:1.5em;border-bottom:1px solid #cbd5e0}\n"
        "table{border-collapse:collapse}td,th{border:1px solid #cbd5e0;padding:.25em .6em;text-align:left;"
        "vertical-align:top}\n"
        "th{background:#edf2f7}td.n{text-align:right}\n"
        ".pictures{display:flex;flex-wrap:wrap;gap:1em}figure{margin:0;border:1px solid #cbd5e0;padding:.5em}\n"
        "figure img{width:420px;display:block}\n"
        "li.error{color:#c53030}li.warning{color:#b7791f}\n"
        "pre{background:#f7fafc;border:1px solid #cbd5e0;padding:.5em;font-size:.85em}\n"
        "pre a.ln{color:#a0aec0;text-decoration:none}pre .error{background:#fed7d7}"
        "pre .warning{background:#fefcbf}\n"
        "</style>\n</head>\n<body>\n";
    html += "<h1>" + title + "</h1>\n";

    // The processes: a table with links, then the pictures.
    std::vector<const Item*> processes;
    for (const Item& item : file.items)
        if (item.kind == Kind::Process) processes.push_back(&item);
    html += "<h2>" + t(kPageProcesses) + "</h2>\n<table>\n<tr><th>" + t(kPageProcess) + "</th><th>" +
            t(kPageActivities) + "</th><th>" + t(kPageConnectors) + "</th></tr>\n";
    std::vector<ProcessView> views;
    for (std::size_t i = 0; i < processes.size(); ++i) {
        views.push_back(DescribeProcess(*processes[i]));
        const ProcessView& view = views.back();
        std::string names;
        for (const ActivityView& activity : view.activities)
            names += (names.empty() ? "" : ", ") + Escape(activity.name);
        html += "<tr><td><a href=\"" + ProcessSvgName(i + 1) + "\">" + Escape(view.name) + "</a> (<a href=\"#L" +
                std::to_string(view.line) + "\">" + std::to_string(view.line) + "</a>)</td><td>" +
                std::to_string(view.activities.size()) + ": " + names + "</td><td class=\"n\">" +
                std::to_string(view.connectors.size()) + "</td></tr>\n";
    }
    html += "</table>\n<div class=\"pictures\">\n";
    for (std::size_t i = 0; i < views.size(); ++i) {
        html += "<figure><a href=\"" + ProcessSvgName(i + 1) + "\"><img src=\"" + ProcessSvgName(i + 1) + "\" alt=\"" +
                Escape(views[i].name) + "\"></a><figcaption>" + Escape(views[i].name) + "</figcaption></figure>\n";
    }
    html += "</div>\n";

    Counts counts;
    for (const char* kind : {"STRUCTURE", "PROCESS_CATEGORY", "PROGRAM", "PERSON", "ROLE", "ORGANIZATION", "PROCESS",
                             "PROGRAM_ACTIVITY", "PROCESS_ACTIVITY", "BLOCK", "CONTROL", "DATA"})
        counts.rows.emplace_back(kind, 0);
    CountItems(file.items, counts);
    html += "<h2>" + t(kPageConstructs) + "</h2>\n<table>\n<tr><th>" + t(kPageKind) + "</th><th>" + t(kPageCount) +
            "</th></tr>\n";
    for (const auto& [kind, count] : counts.rows)
        html += "<tr><td>" + kind + "</td><td class=\"n\">" + std::to_string(count) + "</td></tr>\n";
    html += "</table>\n";

    html += "<h2>" + t(kPageFindings) + "</h2>\n";
    std::unordered_map<int, const char*> marked;
    if (findings.empty()) {
        html += "<p>" + t(kPageNoFindings) + "</p>\n";
    } else {
        html += "<ul>\n";
        for (const Finding& finding : findings) {
            const char* cls = finding.severity == Severity::Error ? "error" : "warning";
            if (!marked.count(finding.line) || finding.severity == Severity::Error) marked[finding.line] = cls;
            html += std::string("<li class=\"") + cls + "\"><a href=\"#L" + std::to_string(finding.line) + "\">" +
                    Escape(fileName) + ":" + std::to_string(finding.line) +
                    "</a>: " + t(finding.severity == Severity::Error ? kSeverityError : kSeverityWarning) + ": " +
                    Escape(FindingText(finding, text)) + "</li>\n";
        }
        html += "</ul>\n";
    }

    html += "<h2>" + t(kPageListing) + "</h2>\n<pre>";
    std::vector<std::string> lines = SplitAnyLineEnd(utf8Text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const std::string n = std::to_string(number);
        auto mark = marked.find(number);
        html += "<span id=\"L" + n + "\"" +
                (mark != marked.end() ? std::string(" class=\"") + mark->second + "\"" : "") +
                "><a class=\"ln\" href=\"#L" + n + "\">" + std::string(n.size() < 5 ? 5 - n.size() : 0, ' ') + n +
                "</a>  " + Escape(ExpandTabs(lines[i])) + "</span>\n";
    }
    html += "</pre>\n</body>\n</html>\n";
    return html;
}

bool WritePreview(const std::string& folder, const std::string& fileName, std::string_view bytes,
                  const TextFunction& text, std::string& error) {
    const ReadResult read = ReadDefinition(bytes);
    std::vector<Finding> findings = read.findings;
    std::vector<Finding> model = CheckModel(read.file);
    findings.insert(findings.end(), model.begin(), model.end());
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });

    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (!std::filesystem::is_directory(folder)) {
        error = code ? code.message() : "not a folder";
        return false;
    }
    auto write = [&](const std::string& name, const std::string& content) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out << content;
        out.close();
        if (!out) error = folder + "/" + name;
        return static_cast<bool>(out);
    };
    std::size_t number = 0;
    for (const Item& item : read.file.items) {
        if (item.kind != Kind::Process) continue;
        if (!write(ProcessSvgName(++number), ProcessSvg(DescribeProcess(item)))) return false;
    }
    const std::string utf8 = platform::FromCodePageToUtf8(bytes, read.file.codePage);
    return write("index.html", IndexHtml(fileName, read.file, findings, utf8, text));
}

}  // namespace wpx
