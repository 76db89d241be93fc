// Creation and release of the eight construct registries held by the current export.
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
    ExportContext& context = CurrentExport();
    Recreate(context.Col_DATA_MEMBER);
    Recreate(context.Col_DATA_STRUCTURE);
    Recreate(context.Col_ORGANIZATION);
    Recreate(context.Col_PERSON);
    Recreate(context.Col_PROCESS);
    Recreate(context.Col_PROCESS_CATEGORY);
    Recreate(context.Col_PROGRAM);
    Recreate(context.Col_ROLE);
}

void ReleaseRegistries() {
    ExportContext& context = CurrentExport();
    context.Col_DATA_MEMBER.reset();
    context.Col_DATA_STRUCTURE.reset();
    context.Col_ORGANIZATION.reset();
    context.Col_PERSON.reset();
    context.Col_PROCESS.reset();
    context.Col_PROCESS_CATEGORY.reset();
    context.Col_PROGRAM.reset();
    context.Col_ROLE.reset();
}

}  // namespace modGlobals
