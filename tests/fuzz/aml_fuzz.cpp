// Fuzzes the AML reader: any input either loads or is refused with a server error; the loaded
// database answers its listing calls.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "aris/LocalServer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string xml(reinterpret_cast<const char*>(data), size);
    std::ostringstream report;
    try {
        auto db = aris::LoadAmlText(xml, "fuzz.xml", report);
        for (const aris::Model* model : db->AllModels()) {
            model->Name(1033);
            model->TypeName(1031);
            for (const aris::Occurrence* occ : model->OccList())
                if (occ->ObjDef()) occ->ObjDef()->CxnList(6, 1033, -1);
        }
    } catch (const aris::ServerError&) {
    }
    return 0;
}
