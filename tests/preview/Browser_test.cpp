// The preview as a real browser shows it: headless chromium takes screenshots of index.html and
// of one process's SVG for a golden case; they must not be blank, and the page's DOM must hold
// the process and activity names. Skipped when chromium is not installed (CI installs it). With
// LUMENPORT_SCREENSHOT_DIR set, the screenshots are kept there (docs/).
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "../support/TestEnv.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1000;
constexpr int kHeight = 1090;

std::string FindChromium() {
    for (const char* name : {"chromium", "chromium-browser"}) {
        const char* path = std::getenv("PATH");
        std::string dirs = path ? path : "/usr/bin:/bin";
        std::size_t start = 0;
        while (start <= dirs.size()) {
            std::size_t end = dirs.find(':', start);
            std::string candidate = dirs.substr(start, end - start) + "/" + name;
            if (::access(candidate.c_str(), X_OK) == 0) return candidate;
            if (end == std::string::npos) break;
            start = end + 1;
        }
    }
    return "";
}

class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        chromium_ = FindChromium();
        if (chromium_.empty()) GTEST_SKIP() << "chromium is not installed (apt-get install chromium)";
    }

    testenv::RunResult Run(const std::vector<std::string>& extra, const std::string& url) {
        std::vector<std::string> args = {"120",
                                         chromium_,
                                         "--headless",
                                         "--no-sandbox",
                                         "--disable-gpu",
                                         "--disable-quic",
                                         "--no-first-run",
                                         "--disable-background-networking",
                                         "--disable-component-update",
                                         "--disable-sync",
                                         "--user-data-dir=" + dir_.File("profile-" + std::to_string(runs_++)),
                                         "--hide-scrollbars"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(url);
        return testenv::RunProgramAt("/usr/bin/timeout", args);
    }

    // A screenshot of the page at `path`; returns the PNG's bytes.
    std::string Screenshot(const std::string& path, const std::string& png) {
        testenv::RunResult run =
            Run({"--window-size=" + std::to_string(kWidth) + "," + std::to_string(kHeight), "--screenshot=" + png},
                "file://" + path);
        EXPECT_EQ(run.status, 0) << run.err;
        return testenv::ReadFile(png);
    }

    std::string chromium_;
    testenv::TempDir dir_;
    int runs_ = 0;
};

// Width and height from a PNG's header; false when the bytes are not a PNG.
bool PngSize(const std::string& png, unsigned& width, unsigned& height) {
    if (png.size() < 24 || png.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0 || png.compare(12, 4, "IHDR") != 0) return false;
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(png[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(png[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(png[at + 3]));
    };
    width = be32(16);
    height = be32(20);
    return true;
}

TEST_F(Browser, ShowsTheIndexAndAProcessPictureWithTheirNames) {
    const std::string golden = dir_.File("subprocess-round.wpx");
    testenv::WriteFile(golden, testenv::ReadFile(testenv::TestDataPath("e2e/subprocess-round/expected.wpx")));
    const std::string preview = dir_.File("preview");
    testenv::RunResult made = testenv::RunProgram({"--preview", preview, golden}, {{"LC_ALL", "C"}});
    ASSERT_EQ(made.status, 0) << made.err;

    // A blank page of the same size compresses to a small PNG of one colour; a drawn page does not.
    testenv::WriteFile(dir_.File("blank.html"), "<!DOCTYPE html><html><body style=\"background:#fff\"></body></html>");
    std::string blank = Screenshot(dir_.File("blank.html"), dir_.File("blank.png"));
    unsigned width = 0, height = 0;
    ASSERT_TRUE(PngSize(blank, width, height));

    struct Page {
        std::string file, png;
    };
    for (const Page& page : {Page{"index.html", "preview-index.png"}, Page{"process-1.svg", "preview-process.png"}}) {
        std::string png = Screenshot(preview + "/" + page.file, dir_.File(page.png));
        ASSERT_TRUE(PngSize(png, width, height)) << page.file << ": no PNG";
        EXPECT_EQ(width, static_cast<unsigned>(kWidth)) << page.file;
        EXPECT_EQ(height, static_cast<unsigned>(kHeight)) << page.file;
        EXPECT_GT(png.size(), 3 * blank.size())
            << page.file << " looks blank: " << png.size() << " bytes against " << blank.size() << " for an empty page";
        if (const char* keep = std::getenv("LUMENPORT_SCREENSHOT_DIR"))
            testenv::WriteFile(std::string(keep) + "/" + page.png, png);
    }

    testenv::RunResult index = Run({"--dump-dom"}, "file://" + preview + "/index.html");
    ASSERT_EQ(index.status, 0) << index.err;
    testenv::RunResult svg = Run({"--dump-dom"}, "file://" + preview + "/process-1.svg");
    ASSERT_EQ(svg.status, 0) << svg.err;
    for (const char* name : {"Order handling", "Receive order", "Write invoice", "Ship order", "Pack goods"}) {
        EXPECT_NE(index.out.find(name), std::string::npos) << name << " not in the index's DOM";
    }
    for (const char* name : {"Order handling", "Receive order", "Write invoice"})
        EXPECT_NE(svg.out.find(name), std::string::npos) << name << " not in the picture's DOM";
}

}  // namespace
