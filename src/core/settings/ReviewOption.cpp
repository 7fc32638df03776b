#include "core/settings/ReviewOption.h"

#include <cstdint>

#include "core/settings/CRegistryStore.h"
#include "core/settings/WindowPlacement.h"

namespace quirtel {
namespace {

void Address(CRegistryStore& store) {
    store.company = PLACEMENT_COMPANY;
    store.application = PLACEMENT_APPLICATION;
}

}  // namespace

bool LoadReviewBeforeResult(RegistryBackend& registry) {
    CRegistryStore store(registry);
    Address(store);
    std::int32_t value = 0;
    store.ReadInt(REVIEW_BEFORE_RESULT_VALUE, value, 0);
    return value != 0;
}

bool SaveReviewBeforeResult(RegistryBackend& registry, bool on) {
    CRegistryStore store(registry);
    Address(store);
    int status = 0;
    return store.WriteInt(REVIEW_BEFORE_RESULT_VALUE, on ? 1 : 0, status);
}

}  // namespace quirtel
