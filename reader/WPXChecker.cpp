#include "reader/WPXChecker.h"

#include <algorithm>
#include <array>
#include <functional>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

#include "platform/Text.h"
#include "reader/WPXProcessView.h"
#include "reader/WPXReader.h"

namespace wpx {

namespace {

// The kinds a name can refer to, each with its own name space.
enum Space { kStructures, kCategories, kPrograms, kPersons, kRoles, kOrganizations, kProcesses, kSpaceCount };

constexpr std::array<const char*, kSpaceCount> kSpaceKeyword = {"STRUCTURE", "PROCESS_CATEGORY", "PROGRAM", "PERSON",
                                                                "ROLE",      "ORGANIZATION",     "PROCESS"};

int SpaceOf(Kind kind) {
    switch (kind) {
        case Kind::Structure: return kStructures;
        case Kind::ProcessCategory: return kCategories;
        case Kind::Program: return kPrograms;
        case Kind::Person: return kPersons;
        case Kind::Role: return kRoles;
        case Kind::Organization: return kOrganizations;
        case Kind::Process: return kProcesses;
        default: return -1;
    }
}

// Names the workflow engine defines itself, so a file may use them without a block.
bool Predefined(int space, const std::string& name) {
    return (space == kStructures && name == "Default Data Structure") || (space == kPersons && name == "ADMIN");
}

// Every name in single quotes in a value ("'A' 'B'" gives A and B).
std::vector<std::string> QuotedNames(const std::string& value) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while ((pos = value.find('\'', pos)) != std::string::npos) {
        std::string name;
        if (!ReadQuotedName(value, pos, name)) break;
        names.push_back(name);
    }
    return names;
}

const char* ExpectedForm(const std::string& keyword) {
    if (keyword == "LAYOUT") return "XPOS x YPOS y";
    if (keyword == "FROM") return "FROM 'activity' TO 'activity'";
    if (keyword == "LOOP") return "LOOP 'activity'";
    if (keyword == "SOURCE") return "SOURCE n XPOS x YPOS y";
    if (keyword == "SINK") return "SINK n XPOS x YPOS y";
    if (keyword == "WINDOW") return "PAPERSIZE WIDTH w HEIGHT h";
    if (keyword == "DONE_BY") return "DONE_BY PERSON|MEMBER OF ROLE|ORGANIZATION 'name'";
    return "'name'";
}

class Checker {
public:
    // One top-level item, as soon as it is read: its names are defined, its references checked
    // against the names defined so far (the others wait for the end of the file), a process's
    // activities and connectors checked. Each of the three keeps its findings apart, so that
    // findings on one line come in the order of the three.
    void Take(const Item& item) {
        findings_ = &defines_;
        Define(item);
        findings_ = &references_;
        CheckReferences(item);
        findings_ = &scopes_;
        if (item.kind == Kind::Process && item.named) CheckScope(item, DescribeProcess(item), item.name, 0, 0);
    }

    // The findings of the whole file, in line order: a reference that waited is reported only
    // when no item of the file defines its name.
    std::vector<Finding> Finish() {
        std::vector<bool> resolved(references_.size(), false);
        for (const auto& [index, space] : waiting_)
            resolved[index] = defined_[static_cast<std::size_t>(space)].count(references_[index].params[1]) > 0;
        std::vector<Finding> findings = std::move(defines_);
        for (std::size_t i = 0; i < references_.size(); ++i)
            if (!resolved[i]) findings.push_back(std::move(references_[i]));
        findings.insert(findings.end(), std::make_move_iterator(scopes_.begin()),
                        std::make_move_iterator(scopes_.end()));
        std::stable_sort(findings.begin(), findings.end(),
                         [](const Finding& a, const Finding& b) { return a.line < b.line; });
        return findings;
    }

private:
    void Report(int line, int id, std::vector<std::string> params, Severity severity = Severity::Error) {
        findings_->push_back({line, severity, id, std::move(params)});
    }

    void CheckName(int line, const char* keyword, const std::string& name) {
        if (name.empty()) Report(line, kEmptyName, {keyword});
        else if (platform::CharCount(name) > kMaxNameLength) Report(line, kNameTooLong, {name});
    }

    void Define(const Item& item) {
        if (item.kind == Kind::Structure && item.named) {
            for (const Item& member : item.items)
                if (member.kind == Kind::Member && member.named)
                    CheckName(member.head.number, "STRUCTURE", member.name);
        }
        const int space = SpaceOf(item.kind);
        if (space < 0 || !item.nameRead) return;
        CheckName(item.head.number, kSpaceKeyword[space], item.name);
        auto [found, added] = defined_[space].emplace(item.name, item.head.number);
        if (!added)
            Report(item.head.number, kDuplicate, {kSpaceKeyword[space], item.name, std::to_string(found->second)});
    }

    void Refer(int line, int space, const std::string& name) {
        if (Predefined(space, name) || defined_[space].count(name)) return;
        // Not defined so far: reported at the end unless a later item defines it.
        waiting_.emplace_back(references_.size(), space);
        Report(line, kUndefined, {kSpaceKeyword[space], name});
    }

    void ReferAll(const Line& line, int space, const std::string& value) {
        const std::vector<std::string> names = QuotedNames(value);
        if (names.empty()) Report(line.number, kMalformed, {line.keyword, ExpectedForm("")});
        for (const std::string& name : names) Refer(line.number, space, name);
    }

    void CheckReferences(const Item& item) {
        if (item.named && item.Parts().hasContainers) {
            Refer(item.head.number, kStructures, item.Parts().input);
            Refer(item.head.number, kStructures, item.Parts().output);
        }
        if (item.kind == Kind::PersonUpdate && item.named) Refer(item.head.number, kPersons, item.name);
        if (item.kind == Kind::OrganizationUpdate && item.named) Refer(item.head.number, kOrganizations, item.name);
        if (item.kind == Kind::Member && item.named && !item.Parts().memberType.empty() &&
            item.Parts().memberType[0] == '\'')
            ReferAll(item.head, kStructures, item.Parts().memberType);
        for (const Item& inner : item.items) {
            if (inner.kind != Kind::Property) {
                CheckReferences(inner);
                continue;
            }
            const Line& line = inner.head;
            const std::string& word = line.keyword;
            if (word == "CATEGORY") {
                ReferAll(line, kCategories, line.value);
            } else if (word == "PROGRAM") {
                ReferAll(line, kPrograms, line.value);
            } else if (word == "PROCESS") {
                ReferAll(line, kProcesses, line.value);
            } else if (word == "COORDINATOR" || word == "RELATED_PERSON" || word == "MANAGER" || word == "SUBSTITUTE") {
                ReferAll(line, kPersons, line.value);
            } else if (word == "PARENT_ORGANIZATION") {
                ReferAll(line, kOrganizations, line.value);
            } else if (word == "DONE_BY") {
                CheckDoneBy(line);
            }
        }
    }

    void CheckDoneBy(const Line& line) {
        const static std::array<std::pair<const char*, int>, 3> forms = {
            {{"PERSON ", kPersons}, {"MEMBER OF ROLE ", kRoles}, {"ORGANIZATION ", kOrganizations}}};
        for (const auto& [prefix, space] : forms) {
            if (line.value.rfind(prefix, 0) == 0) {
                ReferAll(line, space, line.value.substr(std::string(prefix).size()));
                return;
            }
        }
        Report(line.number, kMalformed, {"DONE_BY", ExpectedForm("DONE_BY")});
    }

    void CheckPosition(int line, const Point& point, long long width, long long height) {
        if (2 * std::llabs(point.x) <= width && 2 * std::llabs(point.y) <= height) return;
        Report(line, kOutsideWindow,
               {std::to_string(point.x), std::to_string(point.y), std::to_string(width), std::to_string(height)});
    }

    // One process, or the inside of one of its BLOCK activities: activity names, connector ends,
    // positions. A block has the window and the sources and sinks of its process.
    void CheckScope(const Item& scope, const ProcessView& view, const std::string& processName, long long width,
                    long long height) {
        if (width == 0) {
            width = view.width;
            height = view.height;
        }
        for (const auto& [line, keyword] : view.malformed) Report(line, kMalformed, {keyword, ExpectedForm(keyword)});
        std::unordered_map<std::string, int> activities;
        for (const ActivityView& activity : view.activities) {
            CheckName(activity.line, KeywordOf(activity.kind), activity.name);
            auto [found, added] = activities.emplace(activity.name, activity.line);
            if (!added)
                Report(activity.line, kDuplicateActivity, {activity.name, processName, std::to_string(found->second)});
            if (activity.position) CheckPosition(activity.layoutLine, *activity.position, width, height);
        }
        std::unordered_set<int> sources, sinks;
        for (const PortView& port : view.ports) {
            (port.source ? sources : sinks).insert(port.number);
            if (port.position) CheckPosition(port.line, *port.position, width, height);
        }
        if (scope.kind == Kind::BlockActivity) {
            sources = sources_;
            sinks = sinks_;
        } else {
            sources_ = sources;
            sinks_ = sinks;
        }
        // A process that lists no SOURCE (SINK) lines has its sources (sinks) without a position:
        // then any number names one of them.
        auto resolves = [&](const ConnectorEnd& end) {
            switch (end.type) {
                case ConnectorEnd::Type::Activity: return activities.count(end.name) > 0;
                case ConnectorEnd::Type::Source: return sources.empty() || sources.count(end.number) > 0;
                case ConnectorEnd::Type::Sink: return sinks.empty() || sinks.count(end.number) > 0;
                case ConnectorEnd::Type::None: break;
            }
            return true;
        };
        for (const ConnectorView& connector : view.connectors) {
            if (connector.linked) {
                if (!resolves(connector.from))
                    Report(connector.linkLine, kNoEndpoint, {connector.from.Text(), processName});
                if (!resolves(connector.to) &&
                    !(connector.to.type == connector.from.type && connector.to.name == connector.from.name &&
                      connector.to.number == connector.from.number))
                    Report(connector.linkLine, kNoEndpoint, {connector.to.Text(), processName});
            }
            if (connector.bend) CheckPosition(connector.layoutLine, *connector.bend, width, height);
        }
        for (const Item& inner : scope.items) {
            if (inner.kind == Kind::BlockActivity && inner.named)
                CheckScope(inner, DescribeProcess(inner), processName, width, height);
        }
    }

    std::vector<Finding>* findings_ = &defines_;
    std::vector<Finding> defines_, references_, scopes_;
    /// References to names not defined when they were read: the finding's place and the space.
    std::vector<std::pair<std::size_t, int>> waiting_;
    std::array<std::unordered_map<std::string, int>, kSpaceCount> defined_;
    std::unordered_set<int> sources_, sinks_;
};

}  // namespace

std::vector<Finding> CheckModel(const File& file) {
    Checker checker;
    for (const Item& item : file.items) checker.Take(item);
    return checker.Finish();
}

namespace {

// The syntax findings and the model's, in line order; each item is checked as it is read and
// then dropped.
std::vector<Finding> CheckItems(std::string_view bytes, const std::function<void(std::size_t)>& passed) {
    Checker checker;
    File facts;
    std::vector<Finding> findings;
    ReadDefinitionItems(
        bytes, facts, findings, [&checker](Item&& item) { checker.Take(item); }, passed);
    std::vector<Finding> model = checker.Finish();
    findings.insert(findings.end(), std::make_move_iterator(model.begin()), std::make_move_iterator(model.end()));
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& a, const Finding& b) { return a.line < b.line; });
    return findings;
}

}  // namespace

std::vector<Finding> CheckDefinition(std::string_view bytes) { return CheckItems(bytes, nullptr); }

bool CheckDefinitionFile(const std::string& path, std::vector<Finding>& findings) {
    FileBytes file;
    if (!file.Open(path)) return false;
    findings = CheckItems(file.Bytes(), [&file](std::size_t offset) { file.Passed(offset); });
    return true;
}

FindingCounts CountFindings(const std::vector<Finding>& findings) {
    FindingCounts counts;
    for (const Finding& finding : findings) (finding.severity == Severity::Error ? counts.errors : counts.warnings)++;
    return counts;
}

std::string FindingText(const Finding& finding, const TextFunction& text) {
    return FillPlaceholders(text(finding.messageId), finding.params);
}

std::string FormatFinding(const std::string& fileName, const Finding& finding, const TextFunction& text) {
    const std::string severity = text(finding.severity == Severity::Error ? kSeverityError : kSeverityWarning);
    return fileName + ":" + std::to_string(finding.line) + ": " + severity + ": " + FindingText(finding, text);
}

}  // namespace wpx
