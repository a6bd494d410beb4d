#include "app/custom_sort_key.h"

namespace {
CustomSortKey customSortKey = nullptr;
}

void SetCustomSortKey(CustomSortKey key) {
    customSortKey = key;
}
CustomSortKey CurrentCustomSortKey() {
    return customSortKey;
}
