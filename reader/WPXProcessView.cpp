#include "reader/WPXProcessView.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "reader/WPXReader.h"

namespace wpx {

namespace {

bool ReadNumber(std::istringstream& in, long long& value) {
    std::string word;
    if (!(in >> word)) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(word.c_str(), &end, 10);
    return end && *end == '\0' && errno == 0 && !word.empty();
}

// "'name'", "SOURCE n" or "SINK n" at `pos`.
bool ReadEnd(const std::string& text, std::size_t& pos, ConnectorEnd& end) {
    if (ReadQuotedName(text, pos, end.name)) {
        end.type = ConnectorEnd::Type::Activity;
        return true;
    }
    for (const char* word : {"SOURCE ", "SINK "}) {
        const std::string w = word;
        if (text.compare(pos, w.size(), w) != 0) continue;
        const std::size_t digits = pos + w.size();
        std::size_t stop = digits;
        while (stop < text.size() && text[stop] >= '0' && text[stop] <= '9') ++stop;
        if (stop == digits || stop - digits > 9) return false;
        end.type = w == "SOURCE " ? ConnectorEnd::Type::Source : ConnectorEnd::Type::Sink;
        end.number = std::atoi(text.substr(digits, stop - digits).c_str());
        pos = stop;
        return true;
    }
    return false;
}

// "FROM end TO end".
bool ReadLinking(const std::string& value, ConnectorView& view) {
    std::size_t pos = 0;
    if (!ReadEnd(value, pos, view.from)) return false;
    if (value.compare(pos, 4, " TO ") != 0) return false;
    pos += 4;
    return ReadEnd(value, pos, view.to) && pos == value.size();
}

}  // namespace

std::string ConnectorEnd::Text() const {
    switch (type) {
        case Type::Activity: return Quote(name);
        case Type::Source: return "SOURCE " + std::to_string(number);
        case Type::Sink: return "SINK " + std::to_string(number);
        case Type::None: break;
    }
    return "";
}

std::optional<Point> ParsePosition(const std::string& text) {
    std::istringstream in(text);
    std::string word;
    Point point;
    if (!(in >> word) || word != "XPOS" || !ReadNumber(in, point.x)) return std::nullopt;
    if (!(in >> word) || word != "YPOS" || !ReadNumber(in, point.y)) return std::nullopt;
    if (in >> word) return std::nullopt;
    return point;
}

ProcessView DescribeProcess(const Item& process) {
    ProcessView view;
    view.name = process.name;
    view.line = process.head.number;
    auto malformed = [&](const Line& line) { view.malformed.emplace_back(line.number, line.keyword); };
    for (const Item& item : process.items) {
        const Line& head = item.head;
        if (item.kind == Kind::Property && head.keyword == "WINDOW") {
            std::istringstream in(head.value);
            std::string paper, widthWord, heightWord;
            long long width = 0, height = 0;
            if (in >> paper && paper == "PAPERSIZE" && in >> widthWord && widthWord == "WIDTH" &&
                ReadNumber(in, width) && in >> heightWord && heightWord == "HEIGHT" && ReadNumber(in, height) &&
                width > 0 && height > 0) {
                view.width = width;
                view.height = height;
            } else {
                malformed(head);
            }
        } else if (item.kind == Kind::Property && (head.keyword == "SOURCE" || head.keyword == "SINK")) {
            PortView port;
            port.source = head.keyword == "SOURCE";
            port.line = head.number;
            std::istringstream in(head.value);
            long long number = 0;
            std::string rest;
            if (!ReadNumber(in, number) || number < 0 || number > 999999999) {
                malformed(head);
                continue;
            }
            port.number = static_cast<int>(number);
            std::getline(in, rest);
            if (!rest.empty()) {
                port.position = ParsePosition(rest);
                if (!port.position) malformed(head);
            }
            view.ports.push_back(port);
        } else if (item.kind == Kind::ProgramActivity || item.kind == Kind::ProcessActivity ||
                   item.kind == Kind::BlockActivity) {
            ActivityView activity;
            activity.kind = item.kind;
            activity.name = item.name;
            activity.line = head.number;
            for (const Item& property : item.items) {
                if (property.kind != Kind::Property || property.head.keyword != "LAYOUT") continue;
                activity.position = ParsePosition(property.head.value);
                activity.layoutLine = property.head.number;
                if (!activity.position) malformed(property.head);
            }
            view.activities.push_back(activity);
        } else if (item.kind == Kind::Control || item.kind == Kind::Data) {
            ConnectorView connector;
            connector.kind = item.kind;
            connector.line = head.number;
            for (const Item& property : item.items) {
                const Line& line = property.head;
                if (property.kind != Kind::Property) continue;
                if (line.keyword == "FROM") {
                    connector.linked = ReadLinking(line.value, connector);
                    connector.linkLine = line.number;
                    if (!connector.linked) malformed(line);
                } else if (line.keyword == "LOOP") {
                    std::size_t pos = 0;
                    connector.linked = ReadEnd(line.value, pos, connector.from) && pos == line.value.size() &&
                                       connector.from.type == ConnectorEnd::Type::Activity;
                    connector.to = connector.from;
                    connector.linkLine = line.number;
                    if (!connector.linked) malformed(line);
                } else if (line.keyword == "LAYOUT") {
                    connector.bend = ParsePosition(line.value);
                    connector.layoutLine = line.number;
                    if (!connector.bend) malformed(line);
                }
            }
            view.connectors.push_back(connector);
        }
    }
    return view;
}

}  // namespace wpx
