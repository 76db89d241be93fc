#include "writer/clsWPXWriter.h"

#include <locale.h>
#include <clocale>
#include <cwchar>

#include "constructs/ConstructLifecycle.h"
#include "constructs/clsPROCESS_CATEGORY.h"
#include "data/clsDATA_MEMBER.h"
#include "data/clsDATA_STRUCTURE.h"
#include "platform/CodePage.h"
#include "platform/Text.h"
#include "process/clsACTIVITY.h"
#include "process/clsCONTROL_CONNECTOR.h"
#include "process/clsDATA_CONNECTOR.h"
#include "process/clsPROCESS.h"
#include "process/clsPROGRAM.h"
#include "runtime/ExportFiles.h"
#include "runtime/modGlobals.h"
#include "staff/clsORGANIZATION.h"
#include "staff/clsPERSON.h"
#include "staff/clsROLE.h"
#include "writer/WPXBlock.h"

namespace {

constexpr const char* kCrLf = "\r\n";

// strftime with the LC_TIME locale of the environment, as UTF-8 text.
std::string FormatLocalTime(const wchar_t* format, const std::tm& time) {
    locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale) locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(nullptr));
    wchar_t buffer[128];
    const std::size_t length = locale ? wcsftime_l(buffer, sizeof buffer / sizeof buffer[0], format, &time, locale) : 0;
    if (locale) freelocale(locale);
    std::u32string text;
    for (std::size_t i = 0; i < length; ++i) text.push_back(static_cast<char32_t>(buffer[i]));
    return platform::EncodeUtf8(text);
}

// The update pass's block of a person or organization: "UPDATE " + kind and name, the one
// property, "END " + name; the empty text (written as one empty line) when the property is not
// set.
std::string UpdateBlock(const std::string& kind, const std::string& name, const char* keyword,
                        const std::string& value) {
    if (value.empty()) return "";
    return WPXBlock().Line(0, "UPDATE " + kind + name).Line(1, keyword + value).Line(0, "END " + name).Text();
}

// Writes every construct of a registry with `writeOne`, in registry order; returns how many.
template <typename Constructs, typename WriteOne>
int WriteEach(const Constructs& constructs, WriteOne writeOne) {
    int count = 0;
    for (const auto& construct : constructs) {
        writeOne(*construct);
        ++count;
    }
    return count;
}

}  // namespace

std::string clsWPXWriter::HeaderDate(const std::tm& localTime) {
    return FormatLocalTime(L"%Y %a %b ", localTime) + std::to_string(localTime.tm_mday) +
           FormatLocalTime(L"  %H:%M:%S", localTime);
}

namespace {

// A block kept for later: its length in four bytes, then its text.
void KeepBlock(std::string& blocks, const std::string& blockText) {
    const auto size = static_cast<std::uint32_t>(blockText.size());
    const char length[4] = {static_cast<char>(size & 0xFF), static_cast<char>((size >> 8) & 0xFF),
                            static_cast<char>((size >> 16) & 0xFF), static_cast<char>((size >> 24) & 0xFF)};
    blocks.append(length, sizeof length);
    blocks.append(blockText);
}

}  // namespace

void clsWPXWriter::Write(const std::string& blockText) {
    if (aheadBlocks_) {
        KeepBlock(*aheadBlocks_, blockText);
        return;
    }
    if (!CurrentExport().Files) throw platform::Error(91, "Object variable not set: no file handler");
    CurrentExport().Files->WriteFile(blockText);
}

void clsWPXWriter::WriteKeptBlocks(const std::string& blocks) {
    std::string blockText;
    for (std::size_t pos = 0; pos + 4 <= blocks.size();) {
        const auto byte = [&](std::size_t i) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(blocks[pos + i]));
        };
        const std::size_t size = byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
        blockText.assign(blocks, pos + 4, size);
        Write(blockText);
        pos += 4 + size;
    }
}

void clsWPXWriter::WriteProcessAhead(clsPROCESS& process) {
    std::string blocks;
    aheadBlocks_ = &blocks;
    int constructs = 0;
    try {
        constructs = WriteProcess(process);
    } catch (...) {
        aheadBlocks_ = nullptr;
        throw;
    }
    aheadBlocks_ = nullptr;
    blocks.shrink_to_fit();
    process.KeepTextWrittenAhead(std::move(blocks), constructs);
}

void clsWPXWriter::WriteAll() {
    const ProcedureScope scope("clsWPXWriter.WriteAll");
    WriteWPXHeader();
    int total = WriteAllDataStructure();
    total += WriteAllProcessCategory();
    total += WriteAllProgram();
    total += WriteAllPerson(false);
    total += WriteAllPerson(true);
    total += WriteAllRole();
    total += WriteAllOrganization(false);
    total += WriteAllOrganization(true);
    total += WriteAllProcess();
    LogMessage(kSeverityInfo, 3110, std::to_string(total));
}

void clsWPXWriter::WriteWPXHeader() {
    const ProcedureScope scope("clsWPXWriter.WriteWPXHeader");
    const std::time_t now = std::time(nullptr);
    std::tm localTime{};
    localtime_r(&now, &localTime);
    const WPXHeaderValues& session = header_;
    const bool profile = header_.profileRules;
    std::string text;
    for (const std::string& line : {
             std::string("/*"),
             std::string("*  "),
             "*  WPX definitions generated by Lumenport on " + HeaderDate(localTime),
             "*  ARIS Server name   = " + session.server,
             "*  ARIS Database name = " + session.database,
             "*  ARIS User name     = " + session.user,
             std::string(profile ? "*  Mapping rules taken from profile " : "*  Default mapping rules used "),
             std::string("*  "),
             std::string("*/"),
             std::string(),
             "CODEPAGE " + std::to_string(platform::ActiveCodePage()),
         }) {
        text += line + kCrLf;
    }
    Write(text + "KV_RELEASE V3R2 2");
}

void clsWPXWriter::WriteSectionHeader(const std::string& title) {
    const ProcedureScope scope("clsWPXWriter.WriteSectionHeader");
    Write(WPXBlock().Line(0, "/*").Line(0, "*  ").Line(0, "*  " + title).Line(0, "*  ").Line(0, "*/").Text());
}

int clsWPXWriter::WriteAllDataStructure() {
    const ProcedureScope scope("clsWPXWriter.WriteAllDataStructure");
    WriteSectionHeader("DATA_STRUCTUREs");
    return WriteEach(RegistryOf(CurrentExport().Col_DATA_STRUCTURE),
                     [&](const clsDATA_STRUCTURE& structure) { WriteDataStructure(structure); });
}

int clsWPXWriter::WriteAllProcessCategory() {
    const ProcedureScope scope("clsWPXWriter.WriteAllProcessCategory");
    WriteSectionHeader("PROCESS_CATEGORYs");
    return WriteEach(RegistryOf(CurrentExport().Col_PROCESS_CATEGORY),
                     [&](const clsPROCESS_CATEGORY& category) { WriteProcessCategory(category); });
}

int clsWPXWriter::WriteAllProgram() {
    const ProcedureScope scope("clsWPXWriter.WriteAllProgram");
    WriteSectionHeader("PROGRAMs");
    return WriteEach(RegistryOf(CurrentExport().Col_PROGRAM),
                     [&](const clsPROGRAM& program) { WriteProgram(program); });
}

int clsWPXWriter::WriteAllPerson(bool update) {
    const ProcedureScope scope("clsWPXWriter.WriteAllPerson");
    if (!update) WriteSectionHeader("PERSONs");
    const int count = WriteEach(RegistryOf(CurrentExport().Col_PERSON),
                                [&](const clsPERSON& person) { WritePerson(person, update); });
    return update ? 0 : count;
}

int clsWPXWriter::WriteAllRole() {
    const ProcedureScope scope("clsWPXWriter.WriteAllRole");
    WriteSectionHeader("ROLEs");
    return WriteEach(RegistryOf(CurrentExport().Col_ROLE), [&](const clsROLE& role) { WriteRole(role); });
}

int clsWPXWriter::WriteAllOrganization(bool update) {
    const ProcedureScope scope("clsWPXWriter.WriteAllOrganization");
    if (!update) WriteSectionHeader("ORGANIZATIONs");
    const int count = WriteEach(RegistryOf(CurrentExport().Col_ORGANIZATION),
                                [&](const clsORGANIZATION& organization) { WriteOrganization(organization, update); });
    return update ? 0 : count;
}

int clsWPXWriter::WriteAllProcess() {
    const ProcedureScope scope("clsWPXWriter.WriteAllProcess");
    WriteSectionHeader("PROCESSES");
    int count = 0;
    for (const Owned<clsPROCESS>& process : RegistryOf(CurrentExport().Col_PROCESS)) {
        if (process->WrittenAhead.held) {
            const ProcedureScope processScope("clsWPXWriter.WriteProcess");
            WriteKeptBlocks(process->WrittenAhead.blocks);
            count += 1 + process->WrittenAhead.constructsWritten;
        } else {
            count += 1 + WriteProcess(*process);
        }
    }
    return count;
}

int clsWPXWriter::WriteAllActivity(const clsPROCESS& process) {
    const ProcedureScope scope("clsWPXWriter.WriteAllActivity");
    return WriteEach(process.Col_ACTIVITY, [&](const clsACTIVITY& activity) { WriteActivity(activity); });
}

int clsWPXWriter::WriteAllControlConnector(const clsPROCESS& process) {
    const ProcedureScope scope("clsWPXWriter.WriteAllControlConnector");
    return WriteEach(process.Col_CONTROL_CONNECTOR,
                     [&](const clsCONTROL_CONNECTOR& connector) { WriteControlConnector(connector); });
}

int clsWPXWriter::WriteAllDataConnector(const clsPROCESS& process) {
    const ProcedureScope scope("clsWPXWriter.WriteAllDataConnector");
    return WriteEach(process.Col_DATA_CONNECTOR,
                     [&](const clsDATA_CONNECTOR& connector) { WriteDataConnector(connector); });
}

void clsWPXWriter::WriteDataStructure(const clsDATA_STRUCTURE& structure) {
    const ProcedureScope scope("clsWPXWriter.WriteDataStructure");
    WPXBlock block;
    block.Line(0, "STRUCTURE " + structure.ObjectName)
        .LineIfSet(1, "DESCRIPTION ", structure.DESCRIPTION)
        .LineIfSet(1, "DOCUMENTATION ", structure.DOCUMENTATION);
    for (const clsDATA_MEMBER* member : structure.ColDATA_MEMBER()) {
        // The ";" ends the member's last line, which may be its DESCRIPTION or DOCUMENTATION.
        block.Line(1, member->MemberName + ": " + member->DataType + " " + member->SizeOfArray)
            .LineIfSet(2, "DESCRIPTION ", member->DESCRIPTION)
            .LineIfSet(2, "DOCUMENTATION ", member->DOCUMENTATION)
            .Append(";");
    }
    Write(block.Line(0, "END " + structure.ObjectName).Text());
}

void clsWPXWriter::WriteProgram(const clsPROGRAM& program) {
    const ProcedureScope scope("clsWPXWriter.WriteProgram");
    Write(WPXBlock()
              .Line(0, "PROGRAM " + program.ObjectName + " (" + program.Containers.InputName() + ", " +
                           program.Containers.OutputName() + ")")
              .LineIfSet(1, "DESCRIPTION ", program.DESCRIPTION)
              .LineIfSet(1, "DOCUMENTATION ", program.DOCUMENTATION)
              .RawIfSet(1, program.OtherSettings)
              .Line(0, "END " + program.ObjectName)
              .Text());
}

void clsWPXWriter::WriteProcessCategory(const clsPROCESS_CATEGORY& category) {
    const ProcedureScope scope("clsWPXWriter.WriteProcessCategory");
    Write(WPXBlock()
              .Line(0, "PROCESS_CATEGORY " + category.ObjectName)
              .LineIfSet(1, "DESCRIPTION ", category.DESCRIPTION)
              .LineIfSet(1, "DOCUMENTATION ", category.DOCUMENTATION)
              .Line(0, "END " + category.ObjectName)
              .Text());
}

int clsWPXWriter::WriteProcess(const clsPROCESS& process) {
    const ProcedureScope scope("clsWPXWriter.WriteProcess");
    WPXBlock head;
    head.Line(0, "PROCESS " + process.ProcessName + " (" + process.Containers.InputName() + ", " +
                     process.Containers.OutputName() + ")")
        .LineIfSet(1, "DESCRIPTION ", process.DESCRIPTION)
        .LineIfSet(1, "DOCUMENTATION ", process.DOCUMENTATION)
        .LineIfSet(1, "CATEGORY ", process.CATEGORY)
        .LineIfSet(1, "WINDOW ", process.WINDOW);
    for (const std::string& source : process.Col_SOURCE) head.RawIfSet(1, source);
    for (const std::string& sink : process.Col_SINK) head.RawIfSet(1, sink);
    head.RawIfSet(1, process.OtherSettings);
    Write(head.Text());
    int count = WriteAllActivity(process);
    count += WriteAllControlConnector(process);
    count += WriteAllDataConnector(process);
    // The closing block's leading line end gives the empty line before END.
    Write(WPXBlock().Line(0, "END " + process.ProcessName).Text());
    return count;
}

void clsWPXWriter::WriteControlConnector(const clsCONTROL_CONNECTOR& connector) {
    const ProcedureScope scope("clsWPXWriter.WriteControlConnector");
    // A loop connector leaves no trace in the file (it is still counted).
    if (connector.IsLoopConnector()) return;
    WPXBlock block;
    block.Line(1, "CONTROL").LineIfSet(2, "DESCRIPTION ", connector.DESCRIPTION).RawIfSet(2, connector.Linking);
    if (!connector.Condition.empty()) block.Line(2, "WHEN '" + connector.Condition + "'");
    Write(block.LineIfSet(2, "LAYOUT ", connector.LAYOUT).Text());
}

void clsWPXWriter::WriteDataConnector(const clsDATA_CONNECTOR& connector) {
    const ProcedureScope scope("clsWPXWriter.WriteDataConnector");
    // Every data connector is written, a loop connector ("LOOP '...'") too.
    WPXBlock block;
    block.Line(1, "DATA").LineIfSet(2, "DESCRIPTION ", connector.DESCRIPTION).RawIfSet(2, connector.Linking);
    for (const std::string& mapping : connector.ColMapping) block.Line(2, mapping);
    Write(block.LineIfSet(2, "LAYOUT ", connector.LAYOUT).Text());
}

void clsWPXWriter::WriteActivity(const clsACTIVITY& activity) {
    const ProcedureScope scope("clsWPXWriter.WriteActivity");
    const bool subprocess = activity.Is_PROCESS_ACTIVITY();
    WPXBlock block;
    block
        .Line(1, std::string(subprocess ? "PROCESS_ACTIVITY " : "PROGRAM_ACTIVITY ") + activity.ActivityName + " (" +
                     activity.Containers.InputName() + ", " + activity.Containers.OutputName() + ")")
        .LineIfSet(2, "DESCRIPTION ", activity.DESCRIPTION)
        .LineIfSet(2, "DOCUMENTATION ", activity.DOCUMENTATION)
        .LineIfSet(2, "LAYOUT ", activity.LAYOUT)
        .Line(2, "START " + activity.StartMode + " WHEN " + activity.StartCondition + " TRUE");
    if (!activity.ExitCondition.empty())
        block.Line(2, "EXIT " + activity.ExitMode + " WHEN '" + activity.ExitCondition + "'");
    block.LineIfSet(2, "DONE_BY PERSON ", activity.PERSON)
        .LineIfSet(2, "DONE_BY MEMBER OF ROLE ", activity.MEMBER_OF_ROLE)
        .LineIfSet(2, "DONE_BY ORGANIZATION ", activity.ORGANIZATION);
    if (subprocess) block.LineIfSet(2, "PROCESS ", activity.PROCESS);
    else block.LineIfSet(2, "PROGRAM ", activity.PROGRAM);
    block.RawIfSet(2, activity.OtherSettings).Line(1, "END " + activity.ActivityName);
    Write(block.Text());
}

void clsWPXWriter::WritePerson(const clsPERSON& person, bool update) {
    const ProcedureScope scope("clsWPXWriter.WritePerson");
    if (update) {
        Write(UpdateBlock("PERSON ", person.PersonName, "SUBSTITUTE ", person.SUBSTITUTE));
        return;
    }
    Write(WPXBlock()
              .Line(0, "PERSON " + person.PersonName)
              .LineIfSet(1, "DESCRIPTION ", person.DESCRIPTION)
              .LineIfSet(1, "FIRST_NAME ", person.FIRST_NAME)
              .LineIfSet(1, "LAST_NAME ", person.LAST_NAME)
              .LineIfSet(1, "PHONE ", person.PHONE)
              .LineIfSet(1, "SECOND_PHONE ", person.SECOND_PHONE)
              .RawIfSet(1, person.OtherSettings)
              .Line(0, "END " + person.PersonName)
              .Text());
}

void clsWPXWriter::WriteRole(const clsROLE& role) {
    const ProcedureScope scope("clsWPXWriter.WriteRole");
    Write(WPXBlock()
              .Line(0, "ROLE " + role.ObjectName)
              .LineIfSet(1, "DESCRIPTION ", role.DESCRIPTION)
              .LineIfSet(1, "COORDINATOR ", role.COORDINATOR)
              .LineIfSet(1, "RELATED_PERSON ", role.RELATED_PERSON)
              .Line(0, "END " + role.ObjectName)
              .Text());
}

void clsWPXWriter::WriteOrganization(const clsORGANIZATION& organization, bool update) {
    const ProcedureScope scope("clsWPXWriter.WriteOrganization");
    if (update) {
        Write(UpdateBlock("ORGANIZATION ", organization.ObjectName, "PARENT_ORGANIZATION ",
                          organization.PARENT_ORGANIZATION));
        return;
    }
    Write(WPXBlock()
              .Line(0, "ORGANIZATION " + organization.ObjectName)
              .LineIfSet(1, "DESCRIPTION ", organization.DESCRIPTION)
              .LineIfSet(1, "MANAGER ", organization.MANAGER)
              .LineIfSet(1, "RELATED_PERSON ", organization.RELATED_PERSON)
              .Line(0, "END " + organization.ObjectName)
              .Text());
}
