#pragma once

#include <optional>
#include <vector>

namespace quirtel {

class RegistryBackend;

// The main window's outer rectangle (frame and caption included) in screen
// pixels; right and bottom lie one past the last pixel, so the width is x2 - x1.
struct WindowRect {
    int x1 = 0;
    int y1 = 0;
    int x2 = 640;
    int y2 = 480;

    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

// The area of one screen that windows may use, in the same coordinates.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline constexpr char PLACEMENT_COMPANY[] = "Quelvo,S.A.";
inline constexpr char PLACEMENT_APPLICATION[] = "Tapo";

// Reads "Window\x1", "Window\y1", "Window\x2", "Window\y2" of
// Software\Quelvo,S.A.\Tapo, each falling back on its own to 0, 0, 640, 480.
// Creates the application key when it is missing.
WindowRect LoadWindowPlacement(RegistryBackend& registry);

// Writes the four edges in the same order; a failed write does not stop the
// others. All four become durable together, in one flush of `registry`. True
// when all four are stored.
bool SaveWindowPlacement(RegistryBackend& registry, const WindowRect& rect);

// The stored placement, or the default one when its width or height is 0 or
// less (or too large for an int), when it is wider or taller than the virtual
// desktop (`desktop`, or without it the box around all `screens`), or when it
// meets none of the screens. With no screen known, only the size is checked.
WindowRect SanitizePlacement(const WindowRect& stored, const std::vector<ScreenRect>& screens,
                             std::optional<ScreenRect> desktop = std::nullopt);

}  // namespace quirtel
