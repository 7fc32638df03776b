#include "core/settings/WindowPlacement.h"

#include <gtest/gtest.h>

#include "core/settings/RegistryFile.h"
#include "support/TempFolder.h"

#include <limits>
#include <vector>

namespace quirtel {
namespace {

TEST(WindowPlacement, SanitizeKeepsReachableWindowsAndResetsTheRest) {
    constexpr int maxInt = std::numeric_limits<int>::max();
    constexpr int minInt = std::numeric_limits<int>::min();
    const WindowRect defaults{0, 0, 640, 480};
    const std::vector<ScreenRect> one = {{0, 0, 1920, 1040}};
    // A second screen to the left of the first, lower down.
    const std::vector<ScreenRect> two = {{0, 0, 1920, 1040}, {-1280, 200, 1280, 1024}};
    const struct {
        const char* label;
        WindowRect stored;
        std::vector<ScreenRect> screens;
        WindowRect expected;
    } cases[] = {
        {"ordinary", {100, 50, 900, 650}, one, {100, 50, 900, 650}},
        {"bigger than the screen", {-10, -10, 4000, 3000}, one, defaults},
        {"as wide as the desktop", {0, 0, 1920, 1040}, one, {0, 0, 1920, 1040}},
        {"wider than the desktop", {0, 0, 1921, 600}, one, defaults},
        {"across both screens", {-1280, 100, 1920, 1200}, two, {-1280, 100, 1920, 1200}},
        {"partly off the right edge", {1800, 100, 2600, 700}, one, {1800, 100, 2600, 700}},
        {"one pixel on the screen", {1919, 1039, 2500, 1500}, one, {1919, 1039, 2500, 1500}},
        {"just right of the screen", {1920, 100, 2500, 600}, one, defaults},
        {"just below the screen", {0, 1040, 640, 1520}, one, defaults},
        {"left of the screen", {-700, 0, -60, 480}, one, defaults},
        {"on the second screen", {-700, 300, -60, 780}, two, {-700, 300, -60, 780}},
        {"beside the second screen", {-700, 0, -60, 150}, two, defaults},
        {"zero width", {100, 100, 100, 400}, one, defaults},
        {"zero height", {100, 100, 400, 100}, one, defaults},
        {"right edge left of left", {500, 100, 100, 400}, one, defaults},
        {"bottom above top", {100, 400, 500, 100}, one, defaults},
        {"width beyond int", {minInt, 0, maxInt, 480}, one, defaults},
        {"height beyond int", {0, minInt + 1, 640, maxInt}, one, defaults},
        {"extreme width", {-5, -5, maxInt - 10, 480}, one, defaults},
        {"no screens known", {-9000, -9000, -8000, -8000}, {}, {-9000, -9000, -8000, -8000}},
        {"no screens, bad size", {10, 10, 5, 5}, {}, defaults},
        {"empty screen ignored", {10, 10, 50, 50}, {{0, 0, 0, 0}}, defaults},
    };
    for (const auto& c : cases) {
        const WindowRect result = SanitizePlacement(c.stored, c.screens);
        EXPECT_EQ(result, c.expected) << c.label;
    }
}

// Counts the flushes that reach the file.
class CountingRegistry final : public RegistryBackend {
public:
    explicit CountingRegistry(RegistryBackend& inner) : inner(inner) {}
    int CreateKey(std::string_view path) override { return inner.CreateKey(path); }
    int OpenKey(std::string_view path) override { return inner.OpenKey(path); }
    int QueryValue(std::string_view path, std::string_view name, RegistryValue& value) override {
        return inner.QueryValue(path, name, value);
    }
    int SetBinaryValue(std::string_view path, std::string_view name,
                       std::span<const std::uint8_t> data) override {
        return inner.SetBinaryValue(path, name, data);
    }
    int Flush() override {
        ++flushes;
        return inner.Flush();
    }
    RegistryBackend& inner;
    int flushes = 0;
};

// A crash while saving must never leave a mix of old and new edges: the four
// values and the keys they need reach the file in one replacement.
TEST(WindowPlacement, SaveIsOneReplacementOfTheFile) {
    testing::TempFolder folder;
    const std::string path = folder.File("quirtel/registry.reg");
    {
        RegistryFile file(path);
        CountingRegistry counting(file);
        EXPECT_TRUE(SaveWindowPlacement(counting, {10, 20, 650, 500}));
        EXPECT_EQ(counting.flushes, 1);
    }
    RegistryFile reread(path);
    EXPECT_EQ(LoadWindowPlacement(reread), (WindowRect{10, 20, 650, 500}));
}

}  // namespace
}  // namespace quirtel
