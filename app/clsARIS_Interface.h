#pragma once
#include <memory>
#include <string>

#include "aris/Automation.h"
#include "platform/OrderedCollection.h"

/// Ordered keyed collection of ARIS models (keys: the selection's identifiers or Item.Guid).
using ModelCollection = platform::OrderedCollection<const aris::Model*>;

/// Command-line values, the open ARIS database and the selected models.
class clsARIS_Interface {
public:
    clsARIS_Interface();
    ~clsARIS_Interface();

    /// The command-line text the switches are read from (ARIS arguments joined by blanks).
    void SetCommandLine(std::string commandLine) { commandLine_ = std::move(commandLine); }
    const std::string& CommandLine() const { return commandLine_; }

    /// The value of one switch ("/USR", "/DB", ...): "" when it is not there.
    std::string GetCommandLine(const std::string& switchText) const;
    /// Fill user, database, server, /REG value and selection, and the global locale id; a
    /// missing or non-numeric /LOC is an unknown error.
    void SaveCommandlineArguments();
    /// Connect to ARIS, open the database and resolve the selection (errors 2010, 2020).
    void RetrieveSelectedARISModels();
    /// Connect to ARIS and open the database only (used by --list).
    void OpenDatabase();
    /// An AML file opened directly instead of /SVR and /DB ("" for the ARIS switches).
    void SetAmlFile(std::string path) { amlFile_ = std::move(path); }
    const std::string& AmlFile() const { return amlFile_; }

    const std::string& User() const { return user_; }
    const std::string& DatabaseName() const { return database_; }
    const std::string& Server() const { return server_; }
    const std::string& Reg() const { return reg_; }
    const std::string& Selection() const { return selection_; }

    /// The open ARIS database (nullptr before RetrieveSelectedARISModels).
    const aris::Database* Database() const { return database__.get(); }
    void SetDatabase(std::unique_ptr<aris::Database> database) { database__ = std::move(database); }
    /// Close the database and forget the selection (its models belong to the database): after
    /// an export, once nothing reads the repository any more.
    void ReleaseDatabase() {
        selectedModels_.Clear();
        database__.reset();
    }
    /// The selected models, keyed by the identifier of the selection.
    ModelCollection& ColSelectedModels() { return selectedModels_; }

private:
    std::string commandLine_;
    std::string amlFile_;
    std::string user_, database_, server_, reg_, selection_;
    std::unique_ptr<aris::Application> application_;
    aris::ReportComponent* report_ = nullptr;
    std::unique_ptr<aris::Database> database__;
    ModelCollection selectedModels_;
};
