#pragma once
#include <ctime>
#include <string>
#include <utility>

class clsPROCESS;
class clsPROCESS_CATEGORY;
class clsDATA_STRUCTURE;
class clsPROGRAM;
class clsACTIVITY;
class clsCONTROL_CONNECTOR;
class clsDATA_CONNECTOR;
class clsPERSON;
class clsROLE;
class clsORGANIZATION;

/// What the header states besides the date: the names of the ARIS session the models came from
/// and where the mapping rules came from. The program hands them to the writer.
struct WPXHeaderValues {
    std::string server;
    std::string database;
    std::string user;
    bool profileRules = false;  ///< true: rules taken from a profile; false: the built-in rules
};

/// Writes the definition file from the registries once every construct is set up: the header,
/// then one section per kind, each construct as one block (one WriteFile call whose text begins
/// with a line end), and logs the number of constructs written (message 3110). It computes no
/// property: every construct holds its properties as finished text.
///
/// Per kind there is a WriteAll<Kind> that writes the section comment and visits the registry
/// in order, and a Write<Kind> that writes one block; the WriteAll functions return how many
/// constructs they wrote.
class clsWPXWriter {
public:
    /// The header values WriteWPXHeader writes (all empty until they are handed).
    void SetHeaderValues(WPXHeaderValues values) { header_ = std::move(values); }
    /// Header, the seven sections with the update passes of persons and organizations, message 3110.
    void WriteAll();
    /// The comment header with date, ARIS server, database and user, rule source, then CODEPAGE
    /// and KV_RELEASE.
    void WriteWPXHeader();
    /// One section comment: an empty line, "/*", "*  ", "*  " + title, "*  ", "*/".
    void WriteSectionHeader(const std::string& title);

    int WriteAllDataStructure();
    int WriteAllProcessCategory();
    int WriteAllProgram();
    /// First pass (update false) with the section comment; the update pass writes the UPDATE
    /// blocks of substitutes and counts nothing.
    int WriteAllPerson(bool update);
    int WriteAllRole();
    /// As WriteAllPerson, for parent organizations.
    int WriteAllOrganization(bool update);
    /// Processes plus their activities and connectors.
    int WriteAllProcess();
    /// Make the blocks of a process that is set up, as WriteProcess would write them, and hand
    /// them to the process to keep (its activities and connectors go then): a large export
    /// holds the text of its processes, not their constructs, until the file is written.
    /// WriteAllProcess writes the kept blocks in the process's place.
    void WriteProcessAhead(clsPROCESS& process);
    int WriteAllActivity(const clsPROCESS& process);
    int WriteAllControlConnector(const clsPROCESS& process);
    int WriteAllDataConnector(const clsPROCESS& process);

    /// The STRUCTURE block: head, description, documentation, one member per line (its own
    /// description and documentation below it, ";" at the end of its last line), END.
    void WriteDataStructure(const clsDATA_STRUCTURE& structure);
    /// The PROGRAM block, its containers in the head line.
    void WriteProgram(const clsPROGRAM& program);
    void WriteProcessCategory(const clsPROCESS_CATEGORY& category);
    /// Head block, activities, control connectors, data connectors, closing block; returns the
    /// number of activities and connectors.
    int WriteProcess(const clsPROCESS& process);
    void WriteActivity(const clsACTIVITY& activity);
    /// The CONTROL block; nothing for a loop connector.
    void WriteControlConnector(const clsCONTROL_CONNECTOR& connector);
    /// The DATA block: description, linking, one MAP line per mapping, bend point; always
    /// written, a loop connector too.
    void WriteDataConnector(const clsDATA_CONNECTOR& connector);
    /// First pass: the PERSON block. Update pass: the UPDATE block naming the substitute, or an
    /// empty block (one empty line) for a person without substitute.
    void WritePerson(const clsPERSON& person, bool update);
    void WriteRole(const clsROLE& role);
    /// As WritePerson, with the parent organization in the update pass.
    void WriteOrganization(const clsORGANIZATION& organization, bool update);

    /// The header's date "yyyy ddd mmm d  hh:mm:ss" with the day and month names of the user's
    /// locale (LC_TIME of the environment).
    static std::string HeaderDate(const std::tm& localTime);

private:
    void Write(const std::string& blockText);
    /// Write the blocks a process kept, each as one write.
    void WriteKeptBlocks(const std::string& blocks);

    /// While a process is written ahead: where its blocks go instead of the file.
    std::string* aheadBlocks_ = nullptr;
    WPXHeaderValues header_;
};
