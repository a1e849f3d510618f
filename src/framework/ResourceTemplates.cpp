#include "framework/ResourceTemplates.h"

#include <type_traits>

namespace klt {
namespace {

template <class Result> Result None(UINT) {
    return Result{};
}

const std::vector<res::DialogTemplate>& NoDialogs() {
    static const std::vector<res::DialogTemplate> none;
    return none;
}

res::ResourceTables WithNoneForMissing(res::ResourceTables tables) {
    auto fill = [](auto& lookup) {
        if (lookup == nullptr) {
            lookup = &None<std::invoke_result_t<decltype(lookup), UINT>>;
        }
    };
    fill(tables.FindDialog);
    fill(tables.FindString);
    fill(tables.FindMenu);
    fill(tables.FindAccelerators);
    fill(tables.FindToolbar);
    fill(tables.IconForCommand);
    fill(tables.IconForResource);
    if (tables.AllDialogs == nullptr) {
        tables.AllDialogs = &NoDialogs;
    }
    return tables;
}

res::ResourceTables& Tables() {
    static res::ResourceTables tables = WithNoneForMissing({});
    return tables;
}

} // namespace

void AfxSetResources(const res::ResourceTables& tables) {
    Tables() = WithNoneForMissing(tables);
}

const res::ResourceTables& AfxGetResources() {
    return Tables();
}

} // namespace klt
