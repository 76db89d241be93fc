// The preview: what each process's SVG draws (checked on the SVG's elements, read with an XML
// parser), what index.html lists and links, and the preview written after an export.
#include <gtest/gtest.h>

#include <expat.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "../support/TestEnv.h"
#include "preview/WPXPreview.h"
#include "reader/WPXProcessView.h"
#include "reader/WPXReader.h"

namespace {

namespace fs = std::filesystem;

const std::string kFile =
    "CODEPAGE 1252\r\n\r\n"
    "PROCESS 'Orders & <Returns>' ('Default Data Structure', 'Default Data Structure')\r\n"
    "\tSOURCE 1 XPOS -3000 YPOS 0\r\n\tSINK 1 XPOS 3000 YPOS 0\r\n\r\n"
    "\tPROGRAM_ACTIVITY 'Check' ('Default Data Structure', 'Default Data Structure')\r\n"
    "\t\tLAYOUT XPOS -1000 YPOS 1000\r\n\t\tSTART MANUAL WHEN AT_LEAST_ONE CONNECTOR TRUE\r\n\tEND 'Check'\r\n\r\n"
    "\tPROCESS_ACTIVITY 'Ship' ('Default Data Structure', 'Default Data Structure')\r\n"
    "\t\tLAYOUT XPOS 1000 YPOS -1000\r\n\t\tSTART MANUAL WHEN AT_LEAST_ONE CONNECTOR TRUE\r\n\tEND 'Ship'\r\n\r\n"
    "\tBLOCK 'Pack' ('Default Data Structure', 'Default Data Structure')\r\n"
    "\t\tSTART MANUAL WHEN AT_LEAST_ONE CONNECTOR TRUE\r\n\tEND 'Pack'\r\n\r\n"
    "\tCONTROL\r\n\t\tFROM 'Check' TO 'Ship'\r\n\t\tLAYOUT XPOS 1000 YPOS 1000\r\n\r\n"
    "\tDATA\r\n\t\tFROM SOURCE 1 TO 'Check'\r\n\r\n"
    "\tDATA\r\n\t\tLOOP 'Ship'\r\n\r\n"
    "\tDATA\r\n\t\tFROM 'Ship' TO SINK 1\r\n\r\n"
    "END 'Orders & <Returns>'\r\n";

// The elements of an SVG: name, attributes, text; parsing fails on anything not well-formed.
struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::string group;  // class of the enclosing <g>
};

struct Parsed {
    bool ok = false;
    std::vector<Element> elements;
    std::vector<std::string> groups;
    std::vector<std::size_t> open;  // indices of the elements not yet closed
};

void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attrs) {
    auto* parsed = static_cast<Parsed*>(data);
    Element element;
    element.name = name;
    for (int i = 0; attrs[i]; i += 2) element.attributes[attrs[i]] = attrs[i + 1];
    element.group = parsed->groups.empty() ? "" : parsed->groups.back();
    if (element.name == "g") parsed->groups.push_back(element.attributes["class"]);
    parsed->open.push_back(parsed->elements.size());
    parsed->elements.push_back(element);
}
void XMLCALL End(void* data, const XML_Char* name) {
    auto* parsed = static_cast<Parsed*>(data);
    if (std::string(name) == "g") parsed->groups.pop_back();
    parsed->open.pop_back();
}
void XMLCALL Text(void* data, const XML_Char* text, int length) {
    auto* parsed = static_cast<Parsed*>(data);
    if (!parsed->open.empty())
        parsed->elements[parsed->open.back()].text.append(text, static_cast<std::size_t>(length));
}

Parsed ParseSvg(const std::string& svg) {
    Parsed parsed;
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &parsed);
    XML_SetElementHandler(parser, Start, End);
    XML_SetCharacterDataHandler(parser, Text);
    parsed.ok = XML_Parse(parser, svg.data(), static_cast<int>(svg.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return parsed;
}

const Element* TextElement(const Parsed& parsed, const std::string& text) {
    for (const Element& e : parsed.elements)
        if (e.name == "text" && e.text == text) return &e;
    return nullptr;
}

wpx::ProcessView ViewOf(const std::string& file) {
    wpx::ReadResult read = wpx::ReadDefinition(file);
    for (const wpx::Item& item : read.file.items)
        if (item.kind == wpx::Kind::Process) return wpx::DescribeProcess(item);
    ADD_FAILURE() << "no process";
    return {};
}

TEST(ProcessSvg, DrawsEveryActivityKindSourceSinkAndConnectorWhereTheFilePutsThem) {
    Parsed svg = ParseSvg(wpx::ProcessSvg(ViewOf(kFile)));
    ASSERT_TRUE(svg.ok) << "the SVG is not well-formed XML";
    ASSERT_NE(TextElement(svg, "Orders & <Returns>"), nullptr) << "the process's name, escaped";

    struct Expected {
        const char* name;
        const char* group;
    };
    for (const Expected& e :
         {Expected{"Check", "program-activity"}, Expected{"Ship", "process-activity"},
          Expected{"Pack", "block-activity"}, Expected{"SOURCE 1", "source"}, Expected{"SINK 1", "sink"}}) {
        const Element* text = TextElement(svg, e.name);
        ASSERT_NE(text, nullptr) << e.name;
        EXPECT_EQ(text->group, e.group) << e.name;
    }
    // The window's y axis points up, the picture's down: 'Check' (x -1000, y 1000) lies left of
    // and above 'Ship' (x 1000, y -1000); the source lies left of both.
    auto x = [&](const char* name) { return std::stod(TextElement(svg, name)->attributes.at("x")); };
    auto y = [&](const char* name) { return std::stod(TextElement(svg, name)->attributes.at("y")); };
    EXPECT_LT(x("Check"), x("Ship"));
    EXPECT_LT(y("Check"), y("Ship"));
    EXPECT_LT(x("SOURCE 1"), x("Check"));
    EXPECT_GT(x("SINK 1"), x("Ship"));

    // One control arrow through its bend point, three dashed data connectors (one a loop).
    std::vector<const Element*> control, data;
    const Element* bend = nullptr;
    for (const Element& e : svg.elements) {
        auto cls = e.attributes.find("class");
        if (cls == e.attributes.end()) continue;
        if (cls->second == "control") control.push_back(&e);
        if (cls->second == "data") data.push_back(&e);
        if (cls->second == "bend") bend = &e;
    }
    ASSERT_EQ(control.size(), 1u);
    ASSERT_EQ(data.size(), 3u);
    ASSERT_NE(bend, nullptr);
    const std::string& points = control[0]->attributes.at("points");
    EXPECT_EQ(std::count(points.begin(), points.end(), ','), 3) << "start, bend point, end: " << points;
    EXPECT_NE(points.find(bend->attributes.at("cx") + "," + bend->attributes.at("cy")), std::string::npos);
    EXPECT_EQ(control[0]->attributes.count("stroke-dasharray"), 0u);
    EXPECT_NE(control[0]->attributes.at("marker-end"), "");
    for (const Element* e : data) EXPECT_NE(e->attributes.at("stroke-dasharray"), "") << "data connectors are dashed";
}

TEST(Preview, WritesTheIndexAndOnePicturePerProcessWithFindingsLinkedToTheirLines) {
    testenv::TempDir dir;
    std::string file = kFile + "\r\nPROCESS 'Second' ('Nowhere', 'Default Data Structure')\r\nEND 'Second'\r\n";
    auto text = [](int id) { return "[" + std::to_string(id) + " %1$s]"; };
    std::string error;
    ASSERT_TRUE(wpx::WritePreview(dir.File("out"), "orders.wpx", file, text, error)) << error;
    EXPECT_TRUE(fs::exists(dir.File("out/process-1.svg")));
    EXPECT_TRUE(fs::exists(dir.File("out/process-2.svg")));
    EXPECT_FALSE(fs::exists(dir.File("out/process-3.svg")));
    EXPECT_TRUE(ParseSvg(testenv::ReadFile(dir.File("out/process-2.svg"))).ok);

    std::string index = testenv::ReadFile(dir.File("out/index.html"));
    EXPECT_NE(index.find("[60422 orders.wpx]"), std::string::npos) << "title from the language library";
    EXPECT_NE(index.find("<a href=\"process-1.svg\">Orders &amp; &lt;Returns&gt;</a>"), std::string::npos);
    EXPECT_NE(index.find("<a href=\"process-2.svg\">Second</a>"), std::string::npos);
    for (const char* row : {"<td>PROCESS</td><td class=\"n\">2</td>", "<td>PROGRAM_ACTIVITY</td><td class=\"n\">1</td>",
                            "<td>PROCESS_ACTIVITY</td><td class=\"n\">1</td>", "<td>BLOCK</td><td class=\"n\">1</td>",
                            "<td>CONTROL</td><td class=\"n\">1</td>", "<td>DATA</td><td class=\"n\">3</td>"})
        EXPECT_NE(index.find(row), std::string::npos) << row;
    // The undefined container of 'Second': a finding linked to its line in the listing.
    std::string line = std::to_string(std::count(file.begin(), file.begin() + file.find("PROCESS 'Second'"), '\n') + 1);
    EXPECT_NE(index.find("<a href=\"#L" + line + "\">orders.wpx:" + line + "</a>"), std::string::npos) << line;
    EXPECT_NE(index.find("<span id=\"L" + line + "\" class=\"error\">"), std::string::npos);
    EXPECT_NE(index.find("<span id=\"L1\">"), std::string::npos);
    EXPECT_EQ(index.find("<script"), std::string::npos);

    std::string blocked = dir.File("file-in-the-way");
    testenv::WriteFile(blocked, "x");
    EXPECT_FALSE(wpx::WritePreview(blocked, "orders.wpx", file, text, error));
}

TEST(Preview, AnExportWithPreviewDrawsEveryProcessAndTheSummaryCountsNoFinding) {
    testenv::Sandbox box("");
    std::string fixture = testenv::TestDataPath("e2e/two-groups/");
    testenv::WriteFile(box.dir.File("servers/T/sales.xml"), testenv::ReadFile(fixture + "sales.xml"));
    std::string out = box.dir.File("out.wpx");
    testenv::RunResult run =
        testenv::RunProgram({"--batch", "--output", out, "--preview", box.dir.File("preview"), "/SVR=T", "/DB=sales",
                             "/USR=tester", "/SEL=guid-orders,Order handling,13;guid-billing,Billing,13", "/LOC=1033"},
                            {{"LUMENPORT_CODEPAGE", "1252"}, {"LC_ALL", "C"}});
    ASSERT_EQ(run.status, 0) << run.err;
    // The summary's check line counts nothing on a clean file; the preview's line follows it.
    EXPECT_NE(run.err.find("\nCheck of the definition file: 0 errors, 0 warnings\n\n"), std::string::npos) << run.err;
    const std::string written = "kvbrars: Preview written: " + box.dir.File("preview") + "/index.html\n";
    ASSERT_GE(run.err.size(), written.size());
    EXPECT_EQ(run.err.substr(run.err.size() - written.size()), written);
    EXPECT_TRUE(fs::exists(box.dir.File("preview/process-1.svg")));
    EXPECT_TRUE(fs::exists(box.dir.File("preview/process-2.svg")));
    EXPECT_NE(testenv::ReadFile(box.dir.File("preview/index.html")).find("Order handling"), std::string::npos);
}

}  // namespace
