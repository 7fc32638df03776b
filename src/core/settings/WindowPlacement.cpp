#include "core/settings/WindowPlacement.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/settings/CRegistryStore.h"
#include "core/settings/RegistryBatch.h"

namespace quirtel {
namespace {

constexpr const char* NAMES[4] = {"Window\\x1", "Window\\y1", "Window\\x2", "Window\\y2"};

}  // namespace

WindowRect LoadWindowPlacement(RegistryBackend& registry) {
    CRegistryStore store(registry);
    store.company = PLACEMENT_COMPANY;
    store.application = PLACEMENT_APPLICATION;
    const WindowRect defaults;
    std::int32_t values[4] = {defaults.x1, defaults.y1, defaults.x2, defaults.y2};
    for (int i = 0; i < 4; ++i) {
        store.ReadInt(NAMES[i], values[i], values[i]);
    }
    store.Close();
    return {values[0], values[1], values[2], values[3]};
}

bool SaveWindowPlacement(RegistryBackend& registry, const WindowRect& rect) {
    // The four edges reach the file together or not at all.
    RegistryBatch batch(registry);
    CRegistryStore store(batch);
    store.company = PLACEMENT_COMPANY;
    store.application = PLACEMENT_APPLICATION;
    const std::int32_t values[4] = {rect.x1, rect.y1, rect.x2, rect.y2};
    bool all = true;
    for (int i = 0; i < 4; ++i) {
        int status = 0;
        all = store.WriteInt(NAMES[i], values[i], status) && all;
    }
    store.Close();
    return batch.Commit() == REGISTRY_OK && all;
}

WindowRect SanitizePlacement(const WindowRect& stored, const std::vector<ScreenRect>& screens,
                             std::optional<ScreenRect> desktop) {
    // 64 bits: edges far apart would overflow an int width.
    const std::int64_t width = std::int64_t{stored.x2} - stored.x1;
    const std::int64_t height = std::int64_t{stored.y2} - stored.y1;
    constexpr std::int64_t maxSize = std::numeric_limits<int>::max();
    if (width <= 0 || height <= 0 || width > maxSize || height > maxSize) {
        return WindowRect{};
    }
    if (screens.empty()) {
        return stored;
    }
    if (!desktop) {
        std::int64_t left = screens.front().x;
        std::int64_t top = screens.front().y;
        std::int64_t right = left;
        std::int64_t bottom = top;
        for (const ScreenRect& s : screens) {
            left = std::min<std::int64_t>(left, s.x);
            top = std::min<std::int64_t>(top, s.y);
            right = std::max<std::int64_t>(right, std::int64_t{s.x} + s.width);
            bottom = std::max<std::int64_t>(bottom, std::int64_t{s.y} + s.height);
        }
        desktop = ScreenRect{0, 0, static_cast<int>(std::min(right - left, maxSize)),
                             static_cast<int>(std::min(bottom - top, maxSize))};
    }
    // A window larger than the whole desktop has its menu or its edges where
    // no one can reach them.
    if (width > desktop->width || height > desktop->height) {
        return WindowRect{};
    }
    const bool onSomeScreen = std::any_of(screens.begin(), screens.end(), [&](const ScreenRect& s) {
        const std::int64_t right = std::int64_t{s.x} + s.width;
        const std::int64_t bottom = std::int64_t{s.y} + s.height;
        return s.width > 0 && s.height > 0 && stored.x1 < right && s.x < stored.x2 &&
               stored.y1 < bottom && s.y < stored.y2;
    });
    return onSomeScreen ? stored : WindowRect{};
}

}  // namespace quirtel
