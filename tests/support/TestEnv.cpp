#include "TestEnv.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "runtime/modGlobals.h"

namespace fs = std::filesystem;

namespace testenv {

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "lumenport-test-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw std::runtime_error("mkdtemp failed");
    path_ = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

int RecordingMessageBox::Show(const std::string& text, int style, const std::string&) {
    texts.push_back(text);
    styles.push_back(style);
    if (!answers.empty()) {
        int a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    int buttons = platform::MsgBoxButtons(style);
    return buttons == platform::kMbYesNo ? platform::kIdYes : platform::kIdOk;
}

namespace {
void SetEnv(std::map<std::string, std::string>& saved, const std::string& name, const std::string& value) {
    if (!saved.count(name)) {
        const char* old = std::getenv(name.c_str());
        saved[name] = old ? std::string("=") + old : "";
    }
    ::setenv(name.c_str(), value.c_str(), 1);
}
}  // namespace

ScopedEnv::ScopedEnv(const std::map<std::string, std::optional<std::string>>& values) {
    for (const auto& [name, value] : values) {
        const char* old = std::getenv(name.c_str());
        saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
}

ScopedEnv::~ScopedEnv() {
    for (const auto& [name, value] : saved_) {
        if (value) ::setenv(name.c_str(), value->c_str(), 1);
        else ::unsetenv(name.c_str());
    }
}

Sandbox::Sandbox(const std::string& language) {
    userHive = dir.File("user.reg");
    machineHive = dir.File("machine.reg");
    SetEnv(savedEnv_, "LUMENPORT_USER_REG", userHive);
    SetEnv(savedEnv_, "LUMENPORT_MACHINE_REG", machineHive);
    SetEnv(savedEnv_, "LUMENPORT_ARIS_SERVERS", dir.File("servers"));
    SetEnv(savedEnv_, "XDG_DATA_HOME", dir.File("xdg-data"));
    SetEnv(savedEnv_, "XDG_CONFIG_HOME", dir.File("xdg-config"));
    auto box = std::make_unique<RecordingMessageBox>();
    boxes = box.get();
    previous_ = platform::SetMessageBoxPresenter(std::move(box));
    if (!language.empty()) {
        std::string lib = BinPath("kvbr" + std::string(language == "DEU" ? "deu" : "enu") + ".so");
        if (!CurrentExport().LanguageLibrary.Load(lib)) throw std::runtime_error("cannot load " + lib);
        CurrentExport().LanguageCode = language;
    }
}

Sandbox::~Sandbox() {
    platform::SetMessageBoxPresenter(std::move(previous_));
    for (auto& [name, value] : savedEnv_) {
        if (value.empty()) ::unsetenv(name.c_str());
        else ::setenv(name.c_str(), value.c_str() + 1, 1);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string BinPath(const std::string& name) { return std::string(LP_BIN_DIR) + "/" + name; }
std::string TestDataPath(const std::string& relative) { return std::string(LP_TEST_DIR) + "/" + relative; }

RunResult RunProgram(const std::vector<std::string>& args, const std::map<std::string, std::string>& env) {
    return RunProgramAt(BinPath("kvbrars"), args, env);
}

int CountLinesStarting(const std::string& text, const std::string& prefix) {
    int count = 0;
    std::size_t at = 0;
    while ((at = text.find(prefix, at)) != std::string::npos) {
        if (at == 0 || text[at - 1] == '\n') ++count;
        at += prefix.size();
    }
    return count;
}

TimedExport ExportTimed(const Sandbox& box, const std::string& aml, const std::string& selection) {
    WriteFile(box.dir.File("servers/T/chain.xml"), aml);
    const std::string out = box.dir.File("out.wpx");
    TimedExport result;
    auto begin = std::chrono::steady_clock::now();
    result.run =
        RunProgram({"--batch", "--output", out, "/SVR=T", "/DB=chain", "/USR=tester", "/SEL=" + selection, "/LOC=1033"},
                   {{"LUMENPORT_CODEPAGE", "1252"}, {"LC_ALL", "C"}});
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    result.definition = ReadFile(out);
    result.log = ReadFile(box.dir.File("out.log"));
    return result;
}

std::string CopyProgramTo(const std::string& folder) {
    fs::create_directories(folder);
    for (const char* name : {"kvbrars", "kvbrdeu.so", "kvbrenu.so", "aris-types.tsv"})
        fs::copy_file(BinPath(name), folder + "/" + name, fs::copy_options::overwrite_existing);
    fs::copy(BinPath("aris"), folder + "/aris", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    return folder + "/kvbrars";
}

RunResult RunProgramAt(const std::string& program, const std::vector<std::string>& args,
                       const std::map<std::string, std::string>& env) {
    TempDir capture;
    std::string outPath = capture.File("out"), errPath = capture.File("err");
    pid_t pid = ::fork();
    if (pid == 0) {
        int in = ::open("/dev/null", O_RDONLY);
        int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
        const std::string& prog = program;
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(prog.c_str()));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(prog.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    RunResult r;
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = ReadFile(outPath);
    r.err = ReadFile(errPath);
    return r;
}

}  // namespace testenv
