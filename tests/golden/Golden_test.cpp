// Whole-program exports compared with golden files. The runner finds its cases: every file
// case.txt or case-*.txt in a folder under tests/ is one export of that folder's AML database,
// run in batch mode and compared byte for byte with the folder's expected.wpx and expected.log
// (and expected.summary, expected.err, user.reg where the folder has them; see ExportFixture.h).
//
// A case file holds "key=value" lines ("#" begins a comment line): database (the <database>.xml
// of the folder), selection (the /SEL text; \r, \n, \t and \\ stand for themselves), locale
// (the /LOC value), and optionally output and log (the definition file named with --output and
// where its log is expected; default out.wpx and out.log).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/ExportFixture.h"
#include "../support/TestEnv.h"

namespace {

struct GoldenCase {
    std::string name;  ///< the case file's path under tests/, for the test's name
    testenv::ExportCase export_;
};

// A case is named by its file in test reports.
void PrintTo(const GoldenCase& golden, std::ostream* out) { *out << golden.name; }

// \r, \n, \t and \\ as the characters they stand for.
std::string Unescaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        if (next == 'r') out += '\r';
        else if (next == 'n') out += '\n';
        else if (next == 't') out += '\t';
        else if (next == '\\') out += '\\';
        else throw std::runtime_error("unknown escape \\" + std::string(1, next) + " in " + text);
    }
    return out;
}

GoldenCase ReadCase(const std::filesystem::path& file, const std::filesystem::path& root) {
    GoldenCase golden;
    golden.name = std::filesystem::relative(file, root).string();
    golden.export_.folder = file.parent_path().string() + "/";
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) throw std::runtime_error(golden.name + ": no key=value: " + line);
        const std::string key = line.substr(0, eq);
        const std::string value = Unescaped(line.substr(eq + 1));
        if (key == "database") golden.export_.database = value;
        else if (key == "selection") golden.export_.selection = value;
        else if (key == "locale") golden.export_.locale = value;
        else if (key == "output") golden.export_.output = value;
        else if (key == "log") golden.export_.log = value;
        else throw std::runtime_error(golden.name + ": unknown key " + key);
    }
    if (golden.export_.database.empty() || golden.export_.selection.empty() || golden.export_.locale.empty())
        throw std::runtime_error(golden.name + ": database, selection and locale are needed");
    return golden;
}

bool IsCaseFile(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return name == "case.txt" || (name.rfind("case-", 0) == 0 && file.extension() == ".txt");
}

std::vector<GoldenCase> FindCases() {
    const std::filesystem::path root = testenv::TestDataPath("");
    std::vector<GoldenCase> cases;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (entry.is_regular_file() && IsCaseFile(entry.path())) cases.push_back(ReadCase(entry.path(), root));
    }
    std::sort(cases.begin(), cases.end(), [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

}  // namespace

TEST(GoldenRunner, FindsTheCasesOfEveryArea) {
    std::vector<std::string> areas;
    for (const GoldenCase& c : FindCases()) areas.push_back(c.name.substr(0, c.name.find('/')));
    for (const char* area : {"connectors", "data", "dataconnectors", "e2e", "staff"})
        EXPECT_NE(std::find(areas.begin(), areas.end(), area), areas.end()) << area;
}

TEST(GoldenRunner, CaseValuesAreUnescaped) {
    EXPECT_EQ(Unescaped(R"(Orders\r\nof the shop\ttoday \\ ok)"), "Orders\r\nof the shop\ttoday \\ ok");
    EXPECT_THROW(Unescaped(R"(bad \q)"), std::runtime_error);
}

TEST_P(Golden, DefinitionFileAndLogAsExpected) { testenv::ExpectExportAsExpected(GetParam().export_); }

INSTANTIATE_TEST_SUITE_P(Exports, Golden, ::testing::ValuesIn(FindCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             std::string name = info.param.name.substr(0, info.param.name.size() - 4);
                             for (char& ch : name)
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             return name;
                         });
