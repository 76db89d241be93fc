// Creation and release of the eight construct registries held by modGlobals.
#include "runtime/modGlobals.h"

namespace modGlobals {

namespace {

template <class C>
void Recreate(std::unique_ptr<ConstructRegistry<C>>& registry) {
    registry = std::make_unique<ConstructRegistry<C>>();
}

}  // namespace

void CreateRegistries() {
    ReleaseRegistries();
    Recreate(Col_DATA_MEMBER);
    Recreate(Col_DATA_STRUCTURE);
    Recreate(Col_ORGANIZATION);
    Recreate(Col_PERSON);
    Recreate(Col_PROCESS);
    Recreate(Col_PROCESS_CATEGORY);
    Recreate(Col_PROGRAM);
    Recreate(Col_ROLE);
}

void ReleaseRegistries() {
    Col_DATA_MEMBER.reset();
    Col_DATA_STRUCTURE.reset();
    Col_ORGANIZATION.reset();
    Col_PERSON.reset();
    Col_PROCESS.reset();
    Col_PROCESS_CATEGORY.reset();
    Col_PROGRAM.reset();
    Col_ROLE.reset();
}

}  // namespace modGlobals
