#include "app/clsARIS_Interface.h"

#include "aris/AmlReader.h"
#include "aris/LocalServer.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "runtime/clsExceptionHandler.h"
#include "runtime/modGlobals.h"
#include "runtime/modProgress.h"
#include "runtime/modUtilities.h"

using namespace platform;

clsARIS_Interface::clsARIS_Interface() = default;
clsARIS_Interface::~clsARIS_Interface() = default;

std::string clsARIS_Interface::GetCommandLine(const std::string& switchText) const {
    const ProcedureScope scope("clsARIS_Interface.GetCommandLine");
    const std::string upper = UpperAscii(commandLine_);
    const std::string wanted = UpperAscii(switchText);
    if (wanted.empty()) return "";
    const char terminator = wanted[0];
    std::size_t from = 0;
    for (;;) {
        const std::size_t hit = upper.find(wanted, from);
        if (hit == std::string::npos) return "";
        const std::size_t sep = hit + wanted.size();
        const bool separated = sep < commandLine_.size() &&
                               (commandLine_[sep] == '=' || commandLine_[sep] == ':' || commandLine_[sep] == ' ');
        if (separated && sep + 1 < commandLine_.size()) {
            const std::size_t start = sep + 1;
            const std::size_t end = commandLine_.find(terminator, start + 1);
            std::string value = commandLine_.substr(start, end == std::string::npos ? std::string::npos : end - start);
            if (!value.empty()) return value;
        }
        from = hit + 1;
    }
}

void clsARIS_Interface::SaveCommandlineArguments() {
    const ProcedureScope scope("clsARIS_Interface.SaveCommandlineArguments");
    user_ = Trim(GetCommandLine("/USR"));
    database_ = Trim(GetCommandLine("/DB"));
    server_ = Trim(GetCommandLine("/SVR"));
    reg_ = Trim(GetCommandLine("/REG"));
    selection_ = Trim(GetCommandLine("/SEL"));
    const std::string loc = Trim(GetCommandLine("/LOC"));
    if (loc.empty()) RaiseStandardError(kErrTypeMismatch, "the locale id /LOC is missing");
    if (!IsNumeric(loc)) RaiseStandardError(kErrTypeMismatch, "the locale id /LOC \"" + loc + "\" is not a number");
    std::optional<std::int16_t> id = ToInt16(loc);
    if (!id) RaiseStandardError(kErrOverflow, "the locale id /LOC " + loc + " lies outside -32768 to 32767");
    CurrentExport().LocaleId = *id;
}

namespace {

// The reading of the ARIS file shown as progress, for as long as the database is being opened.
class LoadProgress final : public aris::LoadObserver {
public:
    LoadProgress() : previous_(aris::SetLoadObserver(this)) {}
    ~LoadProgress() override {
        aris::SetLoadObserver(previous_);
        modProgress::LoadFinished();
    }
    LoadProgress(const LoadProgress&) = delete;
    LoadProgress& operator=(const LoadProgress&) = delete;

    void Started(const std::string& sourceName, std::uint64_t totalBytes) override {
        modProgress::LoadStarted(sourceName, totalBytes);
    }
    void Read(std::uint64_t bytesRead) override { modProgress::BytesRead(bytesRead); }

private:
    aris::LoadObserver* previous_;
};

}  // namespace

void clsARIS_Interface::OpenDatabase() {
    const ProcedureScope scope("clsARIS_Interface.RetrieveSelectedARISModels");
    application_ = aris::CreateApplication();
    if (!application_) RaiseError(2010);
    report_ = application_->GetComponent("Report");
    if (!report_) RaiseStandardError(kErrObjectCreation, "the ARIS report component is not available");
    const LoadProgress progress;
    try {
        if (!amlFile_.empty()) database__ = aris::OpenAmlExport(amlFile_, user_);
        else database__ = report_->OpenDatabase(server_, database_, reg_, user_, "");
    } catch (const aris::ServerError& e) {
        throw Error(e.Number(), e.what());
    }
}

void clsARIS_Interface::RetrieveSelectedARISModels() {
    const ProcedureScope scope("clsARIS_Interface.RetrieveSelectedARISModels");
    OpenDatabase();
    scope.Reassert();
    bool malformed = false;
    std::string item;
    for (const std::string& piece : modUtilities::ConvertStringListToCollection(selection_, ';')) {
        item = piece;
        const std::string id = modUtilities::GetStringListItem(item, ',', 0);
        const std::string name = modUtilities::GetStringListItem(item, ',', 1);
        const std::string type = modUtilities::GetStringListItem(item, ',', 2);
        if (id.empty() || name.empty() || !IsNumeric(type)) {
            malformed = true;
            break;
        }
        std::optional<std::int32_t> typeNum = ToInt32(type);
        if (!typeNum) RaiseStandardError(kErrOverflow, "model type " + type + " in the selection");
        for (const aris::Model* candidate : database__->FindModels(*typeNum, CurrentExport().LocaleId, name)) {
            if (candidate->Guid() == id) {
                selectedModels_.Add(candidate, id);
                break;
            }
        }
    }
    if (malformed || selectedModels_.Empty()) RaiseError(2020, item);
}
