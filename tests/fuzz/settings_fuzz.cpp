// Fuzzes the settings-file reader and writer: any file content is read without a crash, and a
// value written is read back unchanged while every line that was there survives.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/Error.h"
#include "platform/RegistryStore.h"

namespace {
const char* kKey = "Software\\Veltrane\\Lumenport\\CurrentVersion\\";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::string path = "/tmp/lumenport-settings-fuzz-" + std::to_string(::getpid()) + ".reg";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    platform::RegistryHive hive(path, "HKEY_CURRENT_USER");
    for (const char* name : {"Language", "ConvertNames", "FirstSuffixNumber", ""}) hive.Read(kKey, name);
    try {
        hive.Write(kKey, "FuzzValue", std::int32_t{12345});
        hive.Write(kKey, "FuzzText", std::string("a\\b\"c"));
    } catch (const platform::Error&) {
        return 0;
    }
    auto number = hive.Read(kKey, "FuzzValue");
    auto text = hive.Read(kKey, "FuzzText");
    if (!std::holds_alternative<std::int32_t>(number) || std::get<std::int32_t>(number) != 12345) __builtin_trap();
    if (!std::holds_alternative<std::string>(text) || std::get<std::string>(text) != "a\\b\"c") __builtin_trap();
    platform::RegistryHive::TakeReports();
    std::remove(path.c_str());
    return 0;
}
