#include "core/session/SoundCues.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "core/session/SoundPlayer.h"

namespace quirtel {
namespace {

class FakeSoundPlayer final : public SoundPlayer {
public:
    bool PlayFile(const std::string& path) override {
        played.push_back(path);
        return playSucceeds;
    }
    void Beep() override { ++beeps; }

    bool playSucceeds = true;
    std::vector<std::string> played;
    int beeps = 0;
};

TEST(SoundCues, RatingSoundFollowsTheSpeedBounds) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double speed;
        const char* file;
    } cases[] = {
        {0.0, "./datos/0.wav"},     {-50.0, "./datos/0.wav"},  {nan, "./datos/0.wav"},
        {-inf, "./datos/0.wav"},    {184.99, "./datos/0.wav"}, {185.0, "./datos/1.wav"},
        {199.999, "./datos/1.wav"}, {200.0, "./datos/2.wav"},  {209.99, "./datos/2.wav"},
        {210.0, "./datos/3.wav"},   {229.99, "./datos/3.wav"}, {230.0, "./datos/4.wav"},
        {259.999, "./datos/4.wav"}, {260.0, "./datos/5.wav"},  {5000.0, "./datos/5.wav"},
        {inf, "./datos/5.wav"},
    };
    for (const auto& c : cases) {
        FakeSoundPlayer player;
        SoundCues cues(player);
        cues.PlayRatingSound(c.speed);
        EXPECT_EQ(player.played, std::vector<std::string>{c.file}) << "speed " << c.speed;
        EXPECT_EQ(player.beeps, 0) << "speed " << c.speed;
    }
}

TEST(SoundCues, UnplayableRatingSoundBeepsOnceAndKeyClickNever) {
    FakeSoundPlayer player;
    player.playSucceeds = false;
    SoundCues cues(player);

    cues.PlayKeyClick();
    cues.PlayKeyClick();
    EXPECT_EQ(player.beeps, 0);

    cues.PlayRatingSound(212.4);
    EXPECT_EQ(player.beeps, 1);
    EXPECT_EQ(player.played,
              (std::vector<std::string>{"./datos/Type.wav", "./datos/Type.wav", "./datos/3.wav"}));
}

TEST(SoundCues, SoundsComeFromTheChosenDataFolder) {
    FakeSoundPlayer player;
    SoundCues cues(player, "/usr/share/quirtel/datos");
    cues.PlayKeyClick();
    cues.PlayRatingSound(300.0);
    EXPECT_EQ(player.played, (std::vector<std::string>{"/usr/share/quirtel/datos/Type.wav",
                                                       "/usr/share/quirtel/datos/5.wav"}));
    EXPECT_EQ(SoundCues::SoundFiles("/d")[1], "/d/0.wav");
    EXPECT_EQ(SoundCues::SoundFiles(), SoundCues::SoundFiles("./datos"));
    EXPECT_EQ(SoundCues::InFolder("/tmp/x.wav", "/d"), "/tmp/x.wav");
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

// The shipped files must be what the player decodes quickly and what the
// cues expect: PCM WAV, short enough to be cut off by the next sound without
// loss, and each rating sound different from the others.
TEST(SoundCues, ShippedSoundFilesAreShortDistinctPcmWav) {
    const char* root = std::getenv("QUIRTEL_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    const std::vector<std::string> files = SoundCues::SoundFiles();
    ASSERT_EQ(files.size(), 7u);
    EXPECT_EQ(files.front(), KEY_CLICK_SOUND);

    std::set<std::string> contents;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::ifstream in(std::string(root) + "/" + file, std::ios::binary);
        ASSERT_TRUE(in) << "missing";
        const std::string wav((std::istreambuf_iterator<char>(in)), {});
        ASSERT_GE(wav.size(), 44u);
        EXPECT_EQ(wav.substr(0, 4), "RIFF");
        EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(LittleEndian(wav, 20, 2), 1u);  // PCM
        EXPECT_EQ(LittleEndian(wav, 22, 2), 1u);  // mono
        const std::uint32_t rate = LittleEndian(wav, 24, 4);
        EXPECT_EQ(LittleEndian(wav, 34, 2), 16u);
        ASSERT_EQ(wav.substr(36, 4), "data");
        const std::uint32_t bytes = LittleEndian(wav, 40, 4);
        ASSERT_EQ(bytes, wav.size() - 44);
        const double seconds = bytes / 2.0 / rate;
        EXPECT_LE(seconds, file == KEY_CLICK_SOUND ? 0.040 : 2.5);
        EXPECT_GE(seconds, file == KEY_CLICK_SOUND ? 0.005 : 0.3);
        EXPECT_TRUE(contents.insert(wav.substr(44)).second) << "same sound as another file";
    }
}

}  // namespace
}  // namespace quirtel
