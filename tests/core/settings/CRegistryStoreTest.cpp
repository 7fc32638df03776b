#include "core/settings/CRegistryStore.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/settings/RegistryBackend.h"
#include "core/settings/WindowPlacement.h"

namespace quirtel {
namespace {

// An in-memory registry whose operations can be made to fail; it records
// what reached each step, to check the order and the retries of the store.
class FakeRegistry final : public RegistryBackend {
public:
    int CreateKey(std::string_view path) override {
        calls.push_back("create " + std::string(path));
        if (createFailures > 0) {
            --createFailures;
            return REGISTRY_ACCESS_DENIED;
        }
        std::string prefix;
        for (const char c : std::string(path) + "\\") {
            if (c == '\\') {
                keys.insert(prefix);
            }
            prefix.push_back(c);
        }
        return REGISTRY_OK;
    }
    int OpenKey(std::string_view path) override {
        return keys.count(std::string(path)) > 0 ? REGISTRY_OK : REGISTRY_NOT_FOUND;
    }
    int QueryValue(std::string_view path, std::string_view name, RegistryValue& value) override {
        const auto it = values.find(std::string(path) + "|" + std::string(name));
        if (it == values.end()) {
            return REGISTRY_NOT_FOUND;
        }
        value = it->second;
        return REGISTRY_OK;
    }
    int SetBinaryValue(std::string_view path, std::string_view name,
                       std::span<const std::uint8_t> data) override {
        calls.push_back("set " + std::string(path) + "|" + std::string(name));
        if (keys.count(std::string(path)) == 0) {
            return REGISTRY_NOT_FOUND;
        }
        values[std::string(path) + "|" + std::string(name)] = {REG_TYPE_BINARY,
                                                               {data.begin(), data.end()}};
        return REGISTRY_OK;
    }
    int Flush() override {
        calls.push_back("flush");
        if (flushFailures > 0) {
            --flushFailures;
            return REGISTRY_FAILED;
        }
        return REGISTRY_OK;
    }

    void Put(const std::string& path, const std::string& name, std::uint32_t type,
             std::vector<std::uint8_t> data) {
        CreateKey(path);
        values[path + "|" + name] = {type, std::move(data)};
        calls.clear();
    }

    std::set<std::string> keys;
    std::map<std::string, RegistryValue> values;
    std::vector<std::string> calls;
    int createFailures = 0;
    int flushFailures = 0;
};

const std::string APP = "Software\\Quelvo,S.A.\\Tapo";
const std::string WINDOW = APP + "\\Window";

void Name(CRegistryStore& store) {
    store.company = "Quelvo,S.A.";
    store.application = "Tapo";
}

TEST(CRegistryStore, SplitsAtTheLastBackslash) {
    const struct {
        const char* name;
        const char* subkey;
        const char* value;
    } cases[] = {
        {"Window\\x1", "Window", "x1"}, {"x1", "", "x1"},   {"A\\B\\c", "A\\B", "c"},
        {"Window\\", "Window", ""},     {"\\x1", "", "x1"}, {"", "", ""},
    };
    for (const auto& c : cases) {
        const auto split = CRegistryStore::Split(c.name);
        EXPECT_EQ(split.subkey, c.subkey) << c.name;
        EXPECT_EQ(split.value, c.value) << c.name;
    }
}

TEST(CRegistryStore, ReadsIntegersWhateverTheirTypeUpToFourBytes) {
    const struct {
        const char* label;
        std::uint32_t type;
        std::vector<std::uint8_t> data;
        bool read;
        std::int32_t expected;
    } cases[] = {
        {"binary", REG_TYPE_BINARY, {0x64, 0, 0, 0}, true, 100},
        {"negative", REG_TYPE_BINARY, {0xFB, 0xFF, 0xFF, 0xFF}, true, -5},
        {"dword", REG_TYPE_DWORD, {0x0A, 0, 0, 0}, true, 10},
        {"string of three bytes", REG_TYPE_SZ, {'a', 'b', 0}, true, 0x006261},
        {"two bytes zero-extended", REG_TYPE_BINARY, {0xFF, 0xFF}, true, 0xFFFF},
        {"empty", REG_TYPE_BINARY, {}, true, 0},
        {"five bytes", REG_TYPE_BINARY, {1, 0, 0, 0, 0}, false, 77},
        {"eight bytes", 11, {1, 0, 0, 0, 0, 0, 0, 0}, false, 77},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.Put(WINDOW, "x1", c.type, c.data);
        CRegistryStore store(registry);
        Name(store);
        std::int32_t value = -1;
        EXPECT_EQ(store.ReadInt("Window\\x1", value, 77), c.read) << c.label;
        EXPECT_EQ(value, c.expected) << c.label;
    }
}

TEST(CRegistryStore, EachPlacementValueFallsBackOnItsOwn) {
    const struct {
        std::vector<std::pair<const char*, std::int32_t>> stored;
        WindowRect expected;
    } cases[] = {
        {{}, {0, 0, 640, 480}},
        {{{"x1", 100}}, {100, 0, 640, 480}},
        {{{"y2", 10}}, {0, 0, 640, 10}},
        {{{"y1", -7}, {"x2", 5}}, {0, -7, 5, 480}},
        {{{"x1", 1}, {"y1", 2}, {"x2", 3}, {"y2", 4}}, {1, 2, 3, 4}},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        for (const auto& [name, value] : c.stored) {
            const auto bits = static_cast<std::uint32_t>(value);
            registry.Put(
                WINDOW, name, REG_TYPE_BINARY,
                {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
                 static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)});
        }
        const WindowRect rect = LoadWindowPlacement(registry);
        EXPECT_EQ(rect, c.expected) << "values stored: " << c.stored.size();
    }
}

TEST(CRegistryStore, ReadingCreatesTheApplicationKeyButNoSubkey) {
    FakeRegistry registry;
    EXPECT_EQ(LoadWindowPlacement(registry), WindowRect{});
    EXPECT_EQ(registry.OpenKey(APP), REGISTRY_OK);
    EXPECT_EQ(registry.OpenKey(WINDOW), REGISTRY_NOT_FOUND);
    // The key is made durable by the first open.
    EXPECT_EQ(registry.calls, (std::vector<std::string>{"create " + APP, "flush"}));
}

TEST(CRegistryStore, NamesWithoutSubkeyUseTheApplicationKey) {
    FakeRegistry registry;
    CRegistryStore store(registry);
    Name(store);
    int status = -1;
    EXPECT_TRUE(store.WriteInt("plain", 42, status));
    EXPECT_TRUE(store.WriteInt("A\\B\\deep", 43, status));
    EXPECT_EQ(registry.values.count(APP + "|plain"), 1u);
    EXPECT_EQ(registry.values.count(APP + "\\A\\B|deep"), 1u);
    std::int32_t value = 0;
    EXPECT_TRUE(store.ReadInt("plain", value, 0));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(store.ReadInt("A\\B\\deep", value, 0));
    EXPECT_EQ(value, 43);
}

TEST(CRegistryStore, WritesAreLittleEndianAndDurableBeforeSuccess) {
    FakeRegistry registry;
    CRegistryStore store(registry);
    Name(store);
    int status = -1;
    EXPECT_TRUE(store.WriteInt("Window\\x1", -2, status));
    EXPECT_EQ(status, REGISTRY_OK);
    EXPECT_EQ(registry.values[WINDOW + "|x1"].data,
              (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(registry.calls.back(), "flush");

    // A value that could not be made durable is reported, not claimed.
    registry.flushFailures = 1;
    EXPECT_FALSE(store.WriteInt("Window\\y1", 3, status));
    EXPECT_EQ(status, REGISTRY_FAILED);
}

TEST(CRegistryStore, FailedOpenStopsOneWriteAndTheNextWriteTriesAgain) {
    FakeRegistry registry;
    registry.createFailures = 1;
    EXPECT_FALSE(SaveWindowPlacement(registry, {1, 2, 3, 4}));
    // x1 is lost with the failed open; y1, x2 and y2 open the key again.
    EXPECT_EQ(registry.values.count(WINDOW + "|x1"), 0u);
    EXPECT_EQ(registry.values.count(WINDOW + "|y1"), 1u);
    EXPECT_EQ(registry.values.count(WINDOW + "|y2"), 1u);
    EXPECT_EQ(registry.calls.front(), "create " + APP);
    EXPECT_EQ(registry.calls[1], "create " + APP);

    FakeRegistry broken;
    broken.createFailures = 1000;
    CRegistryStore store(broken);
    Name(store);
    int status = 0;
    EXPECT_FALSE(store.Open(status));
    EXPECT_EQ(status, REGISTRY_ACCESS_DENIED);
    EXPECT_FALSE(store.IsOpen());
    std::int32_t value = 0;
    EXPECT_FALSE(store.ReadInt("Window\\x1", value, 640));
    EXPECT_EQ(value, 640);
    EXPECT_FALSE(store.WriteInt("Window\\x1", 1, status));
    EXPECT_EQ(status, REGISTRY_ACCESS_DENIED);
    EXPECT_TRUE(broken.values.empty());
}

TEST(CRegistryStore, OpenCloseAndReopen) {
    FakeRegistry registry;
    CRegistryStore store(registry);
    Name(store);
    int status = -1;
    EXPECT_FALSE(store.IsOpen());
    EXPECT_TRUE(store.Open(status));
    EXPECT_EQ(status, REGISTRY_OK);
    EXPECT_TRUE(store.Open(status));
    EXPECT_TRUE(store.IsOpen());
    store.Close();
    EXPECT_FALSE(store.IsOpen());
    std::int32_t value = 0;
    EXPECT_FALSE(store.ReadInt("Window\\x1", value, 5));
    EXPECT_TRUE(store.IsOpen());
}

}  // namespace
}  // namespace quirtel
