#include "app/filter_state.h"

namespace {
FilterState& TheFilters() {
    static FilterState filters;
    return filters;
}
}  // namespace

FilterState& CurrentFilters() {
    return TheFilters();
}
void ResetFilterState() {
    TheFilters() = FilterState{};
}
