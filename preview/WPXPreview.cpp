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

// Sizes in window units: the window is 21000 wide, activities lie about 1000 apart.
constexpr double kBoxHeight = 700;
constexpr double kFontSize = 260;
constexpr double kTitleBand = 1600;
constexpr double kPortRadius = 320;

std::string Escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
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
    long long rounded = std::llround(value);
    return std::to_string(rounded);
}

struct Box {
    double x = 0, y = 0;    // centre, SVG coordinates (y downwards)
    double halfWidth = 0, halfHeight = 0;
    bool round = false;     // a source or sink: a circle
};

double BoxWidth(const std::string& name) {
    double width = static_cast<double>(platform::CharCount(name)) * kFontSize * 0.56 + 500;
    return std::max(2400.0, width);
}

// The point where the line from the box's centre towards `to` leaves the box.
void Edge(const Box& box, double towardsX, double towardsY, double& x, double& y) {
    double dx = towardsX - box.x, dy = towardsY - box.y;
    x = box.x;
    y = box.y;
    if (dx == 0 && dy == 0) return;
    double t;
    if (box.round) {
        t = box.halfWidth / std::hypot(dx, dy);
    } else {
        double tx = dx != 0 ? box.halfWidth / std::fabs(dx) : 1e300;
        double ty = dy != 0 ? box.halfHeight / std::fabs(dy) : 1e300;
        t = std::min(tx, ty);
    }
    if (t >= 1) return;
    x = box.x + dx * t;
    y = box.y + dy * t;
}

std::string PortLabel(bool source, int number) { return (source ? "SOURCE " : "SINK ") + std::to_string(number); }

}  // namespace

std::string ProcessSvgName(std::size_t number) { return "process-" + std::to_string(number) + ".svg"; }

std::string ProcessSvg(const ProcessView& view) {
    const double w = static_cast<double>(view.width), h = static_cast<double>(view.height);
    const double left = -w / 2, top = -h / 2;
    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"1000\" height=\"" + Num(1000 * (h + kTitleBand) / w) +
           "\" viewBox=\"" + Num(left) + " " + Num(top - kTitleBand) + " " + Num(w) + " " + Num(h + kTitleBand) +
           "\" font-family=\"DejaVu Sans, Arial, sans-serif\">\n";
    svg += "<title>" + Escape(view.name) + "</title>\n";
    svg += "<defs><marker id=\"arrow-control\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" markerWidth=\"7\" "
           "markerHeight=\"7\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#2d3748\"/></marker>"
           "<marker id=\"arrow-data\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" markerWidth=\"7\" "
           "markerHeight=\"7\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\" fill=\"#6b46c1\"/></marker></defs>\n";
    svg += "<rect x=\"" + Num(left) + "\" y=\"" + Num(top - kTitleBand) + "\" width=\"" + Num(w) + "\" height=\"" +
           Num(h + kTitleBand) + "\" fill=\"#ffffff\"/>\n";
    svg += "<rect x=\"" + Num(left) + "\" y=\"" + Num(top) + "\" width=\"" + Num(w) + "\" height=\"" + Num(h) +
           "\" fill=\"#f7fafc\" stroke=\"#a0aec0\" stroke-width=\"30\"/>\n";
    svg += "<text x=\"" + Num(left + 300) + "\" y=\"" + Num(top - 500) + "\" font-size=\"700\" font-weight=\"bold\" "
           "fill=\"#1a202c\">" + Escape(view.name) + "</text>\n";

    // Boxes: activities at their positions; those without one in a row along the bottom.
    std::unordered_map<std::string, Box> activityBoxes;
    double unplacedX = left + 1500;
    std::vector<std::pair<const ActivityView*, Box>> boxes;
    for (const ActivityView& activity : view.activities) {
        Box box;
        box.halfWidth = BoxWidth(activity.name) / 2;
        box.halfHeight = kBoxHeight / 2;
        if (activity.position) {
            box.x = static_cast<double>(activity.position->x);
            box.y = -static_cast<double>(activity.position->y);
        } else {
            box.x = unplacedX + box.halfWidth;
            box.y = -top - 700;
            unplacedX += 2 * box.halfWidth + 300;
        }
        activityBoxes.emplace(activity.name, box);
        boxes.emplace_back(&activity, box);
    }
    std::map<std::pair<bool, int>, Box> portBoxes;
    int unplacedPorts[2] = {0, 0};
    for (const PortView& port : view.ports) {
        Box box;
        box.round = true;
        box.halfWidth = box.halfHeight = kPortRadius;
        if (port.position) {
            box.x = static_cast<double>(port.position->x);
            box.y = -static_cast<double>(port.position->y);
        } else {
            int& n = unplacedPorts[port.source ? 0 : 1];
            box.x = port.source ? left + 700 : -left - 700;
            box.y = top + 800 + 1000 * n++;
        }
        portBoxes.emplace(std::make_pair(port.source, port.number), box);
    }
    // Sources and sinks that connectors name without a SOURCE or SINK line: along the edges.
    for (const ConnectorView& connector : view.connectors) {
        for (const ConnectorEnd* end : {&connector.from, &connector.to}) {
            bool source = end->type == ConnectorEnd::Type::Source;
            if (!source && end->type != ConnectorEnd::Type::Sink) continue;
            auto key = std::make_pair(source, end->number);
            if (portBoxes.count(key)) continue;
            Box box;
            box.round = true;
            box.halfWidth = box.halfHeight = kPortRadius;
            int& n = unplacedPorts[source ? 0 : 1];
            box.x = source ? left + 700 : -left - 700;
            box.y = top + 800 + 1000 * n++;
            portBoxes.emplace(key, box);
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
    for (const ConnectorView& connector : view.connectors) {
        const Box* from = boxOf(connector.from);
        const Box* to = boxOf(connector.to);
        if (!connector.linked || !from || !to) continue;
        const bool control = connector.kind == Kind::Control;
        std::string style = control ? "stroke=\"#2d3748\" stroke-width=\"40\" marker-end=\"url(#arrow-control)\""
                                    : "stroke=\"#6b46c1\" stroke-width=\"35\" stroke-dasharray=\"160 110\" "
                                      "marker-end=\"url(#arrow-data)\"";
        std::string cls = control ? "control" : "data";
        if (from == to) {
            // A loop: out of the right side and back in above it.
            double x = from->x + from->halfWidth, y = from->y;
            svg += "<path class=\"" + cls + "\" d=\"M" + Num(x) + "," + Num(y) + " C" + Num(x + 1400) + "," +
                   Num(y) + " " + Num(x + 1400) + "," + Num(y - 1200) + " " + Num(x - 400) + "," +
                   Num(y - from->halfHeight) + "\" fill=\"none\" " + style + "/>\n";
            continue;
        }
        double viaX = to->x, viaY = to->y;
        if (connector.bend) {
            viaX = static_cast<double>(connector.bend->x);
            viaY = -static_cast<double>(connector.bend->y);
        }
        double startX, startY, endX, endY;
        Edge(*from, connector.bend ? viaX : to->x, connector.bend ? viaY : to->y, startX, startY);
        Edge(*to, connector.bend ? viaX : from->x, connector.bend ? viaY : from->y, endX, endY);
        std::string points = Num(startX) + "," + Num(startY) + " ";
        if (connector.bend) points += Num(viaX) + "," + Num(viaY) + " ";
        points += Num(endX) + "," + Num(endY);
        svg += "<polyline class=\"" + cls + "\" points=\"" + points + "\" fill=\"none\" " + style + "/>\n";
    }

    for (const auto& [activity, box] : boxes) {
        std::string x = Num(box.x - box.halfWidth), y = Num(box.y - box.halfHeight);
        std::string width = Num(2 * box.halfWidth), height = Num(2 * box.halfHeight);
        switch (activity->kind) {
            case Kind::ProcessActivity:
                // A process activity: a double frame.
                svg += "<g class=\"process-activity\"><rect x=\"" + x + "\" y=\"" + y + "\" width=\"" + width +
                       "\" height=\"" + height + "\" fill=\"#e6f4ea\" stroke=\"#2f855a\" stroke-width=\"40\"/>";
                svg += "<rect x=\"" + Num(box.x - box.halfWidth + 90) + "\" y=\"" + Num(box.y - box.halfHeight + 90) +
                       "\" width=\"" + Num(2 * box.halfWidth - 180) + "\" height=\"" + Num(2 * box.halfHeight - 180) +
                       "\" fill=\"none\" stroke=\"#2f855a\" stroke-width=\"25\"/>";
                break;
            case Kind::BlockActivity:
                svg += "<g class=\"block-activity\"><rect x=\"" + x + "\" y=\"" + y + "\" width=\"" + width +
                       "\" height=\"" + height +
                       "\" fill=\"#fef5e7\" stroke=\"#b7791f\" stroke-width=\"40\" stroke-dasharray=\"200 100\"/>";
                break;
            default:
                svg += "<g class=\"program-activity\"><rect x=\"" + x + "\" y=\"" + y + "\" width=\"" + width +
                       "\" height=\"" + height + "\" rx=\"160\" fill=\"#e8f1fb\" stroke=\"#2b6cb0\" stroke-width=\"40\"/>";
                break;
        }
        svg += "<text x=\"" + Num(box.x) + "\" y=\"" + Num(box.y + kFontSize * 0.35) + "\" font-size=\"" +
               Num(kFontSize) + "\" text-anchor=\"middle\" fill=\"#1a202c\">" + Escape(activity->name) +
               "</text></g>\n";
    }
    for (const auto& [key, box] : portBoxes) {
        bool source = key.first;
        std::string colour = source ? "#2f855a" : "#c53030";
        svg += "<g class=\"" + std::string(source ? "source" : "sink") + "\"><circle cx=\"" + Num(box.x) + "\" cy=\"" +
               Num(box.y) + "\" r=\"" + Num(kPortRadius) + "\" fill=\"#ffffff\" stroke=\"" + colour +
               "\" stroke-width=\"" + (source ? "40" : "90") + "\"/>";
        svg += "<text x=\"" + Num(box.x) + "\" y=\"" + Num(box.y + kPortRadius + 260) +
               "\" font-size=\"200\" text-anchor=\"middle\" fill=\"" + colour + "\">" +
               PortLabel(source, key.second) + "</text></g>\n";
    }

    // Legend along the bottom edge of the title band.
    double lx = left + w - 9800, ly = top - 800;
    svg += "<g class=\"legend\" font-size=\"200\" fill=\"#4a5568\">";
    svg += "<rect x=\"" + Num(lx) + "\" y=\"" + Num(ly - 150) + "\" width=\"500\" height=\"300\" rx=\"80\" "
           "fill=\"#e8f1fb\" stroke=\"#2b6cb0\" stroke-width=\"30\"/><text x=\"" + Num(lx + 600) + "\" y=\"" +
           Num(ly + 70) + "\">PROGRAM_ACTIVITY</text>";
    svg += "<rect x=\"" + Num(lx + 2900) + "\" y=\"" + Num(ly - 150) + "\" width=\"500\" height=\"300\" "
           "fill=\"#e6f4ea\" stroke=\"#2f855a\" stroke-width=\"30\"/><text x=\"" + Num(lx + 3500) + "\" y=\"" +
           Num(ly + 70) + "\">PROCESS_ACTIVITY</text>";
    svg += "<rect x=\"" + Num(lx + 5800) + "\" y=\"" + Num(ly - 150) + "\" width=\"500\" height=\"300\" "
           "fill=\"#fef5e7\" stroke=\"#b7791f\" stroke-width=\"30\" stroke-dasharray=\"100 60\"/><text x=\"" +
           Num(lx + 6400) + "\" y=\"" + Num(ly + 70) + "\">BLOCK</text>";
    svg += "<line x1=\"" + Num(lx + 7400) + "\" y1=\"" + Num(ly - 250) + "\" x2=\"" + Num(lx + 8000) + "\" y2=\"" +
           Num(ly - 250) + "\" stroke=\"#2d3748\" stroke-width=\"35\"/><text x=\"" + Num(lx + 8100) + "\" y=\"" +
           Num(ly - 180) + "\">CONTROL</text>";
    svg += "<line x1=\"" + Num(lx + 7400) + "\" y1=\"" + Num(ly + 150) + "\" x2=\"" + Num(lx + 8000) + "\" y2=\"" +
           Num(ly + 150) + "\" stroke=\"#6b46c1\" stroke-width=\"35\" stroke-dasharray=\"120 80\"/><text x=\"" +
           Num(lx + 8100) + "\" y=\"" + Num(ly + 220) + "\">DATA</text>";
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
            case Kind::Data:
                counts.Add(KeywordOf(item.kind));
                break;
            default:
                break;
        }
        CountItems(item.items, counts);
    }
}

std::vector<std::string> SplitAnyLineEnd(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
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
    std::string title = Escape(FillPlaceholders(text(kPageTitle), {fileName}));
    std::string html;
    html += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>" + title + "</title>\n";
    html += "<style>\n"
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
        html += "<figure><a href=\"" + ProcessSvgName(i + 1) + "\"><img src=\"" + ProcessSvgName(i + 1) +
                "\" alt=\"" + Escape(views[i].name) + "\"></a><figcaption>" + Escape(views[i].name) +
                "</figcaption></figure>\n";
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
                    Escape(fileName) + ":" + std::to_string(finding.line) + "</a>: " +
                    t(finding.severity == Severity::Error ? kSeverityError : kSeverityWarning) + ": " +
                    Escape(FindingText(finding, text)) + "</li>\n";
        }
        html += "</ul>\n";
    }

    html += "<h2>" + t(kPageListing) + "</h2>\n<pre>";
    std::vector<std::string> lines = SplitAnyLineEnd(utf8Text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int number = static_cast<int>(i + 1);
        std::string n = std::to_string(number);
        auto mark = marked.find(number);
        html += "<span id=\"L" + n + "\"" + (mark != marked.end() ? std::string(" class=\"") + mark->second + "\"" : "") +
                "><a class=\"ln\" href=\"#L" + n + "\">" + std::string(n.size() < 5 ? 5 - n.size() : 0, ' ') + n +
                "</a>  " + Escape(ExpandTabs(lines[i])) + "</span>\n";
    }
    html += "</pre>\n</body>\n</html>\n";
    return html;
}

bool WritePreview(const std::string& folder, const std::string& fileName, std::string_view bytes,
                  const TextFunction& text, std::string& error) {
    ReadResult read = ReadDefinition(bytes);
    std::vector<Finding> findings = read.findings;
    std::vector<Finding> model = CheckModel(read.file);
    findings.insert(findings.end(), model.begin(), model.end());
    std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });

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
    std::string utf8 = platform::FromCodePageToUtf8(bytes, read.file.codePage);
    return write("index.html", IndexHtml(fileName, read.file, findings, utf8, text));
}

}  // namespace wpx
