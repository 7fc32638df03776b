#include "gui/typing/SdlSoundPlayer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <cstdint>
#include <memory>

#include "core/session/SoundCues.h"

namespace quirtel {
namespace {

using State = SdlSoundPlayer::DeviceState;

// No call may hold up typing: a key click runs for each character typed.
constexpr qint64 MAX_CALL_MS = 20;

// A 22.05 kHz mono 16-bit WAV file with a sine tone (silence at amplitude 0).
void WriteWav(const QString& path, int milliseconds, double amplitude) {
    constexpr quint32 rate = 22050;
    const quint32 frames = rate * static_cast<quint32>(milliseconds) / 1000;
    QByteArray data;
    for (quint32 i = 0; i < frames; ++i) {
        const auto sample =
            static_cast<qint16>(amplitude * 32767.0 * std::sin(2.0 * M_PI * 440.0 * i / rate));
        char bytes[2];
        qToLittleEndian(sample, bytes);
        data.append(bytes, 2);
    }
    QByteArray wav;
    auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + static_cast<quint32>(data.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(static_cast<quint32>(data.size()));
    wav.append(data);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(wav), wav.size());
}

// Whether the signed 16-bit samples of the byte range are all (nearly) zero.
bool IsSilent(const QByteArray& pcm) {
    for (qsizetype i = 0; i + 1 < pcm.size(); i += 2) {
        if (std::abs(qFromLittleEndian<qint16>(pcm.constData() + i)) > 8) {
            return false;
        }
    }
    return true;
}

}  // namespace

class SdlSoundPlayerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void answersAtOnce_data();
    void answersAtOnce();
    void writesWhatItPlays();
    void newSoundCutsOffTheOldOne();
    void withoutDeviceEveryPlayFailsAtOnce();
    void playsTheShippedSounds();

private:
    std::unique_ptr<SdlSoundPlayer> OpenPlayer(const char* driver,
                                               std::vector<std::string> preload = {});
    QByteArray DiskOutput() const;

    QTemporaryDir dir_;
    QString tone_, longTone_, silence_, notWav_, missing_, diskFile_;
};

void SdlSoundPlayerTest::initTestCase() {
    QVERIFY(dir_.isValid());
    tone_ = dir_.filePath(QStringLiteral("tone.wav"));
    longTone_ = dir_.filePath(QStringLiteral("long.wav"));
    silence_ = dir_.filePath(QStringLiteral("silence.wav"));
    notWav_ = dir_.filePath(QStringLiteral("not.wav"));
    missing_ = dir_.filePath(QStringLiteral("missing.wav"));
    diskFile_ = dir_.filePath(QStringLiteral("disk.raw"));
    WriteWav(tone_, 300, 0.8);
    WriteWav(longTone_, 3000, 0.8);
    WriteWav(silence_, 50, 0.0);
    QFile text(notWav_);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("RIFF but not really a sound file\n");
}

void SdlSoundPlayerTest::cleanup() {
    qputenv("SDL_AUDIODRIVER", "dummy");
    qunsetenv("SDL_DISKAUDIOFILE");
}

std::unique_ptr<SdlSoundPlayer> SdlSoundPlayerTest::OpenPlayer(const char* driver,
                                                               std::vector<std::string> preload) {
    qputenv("SDL_AUDIODRIVER", driver);
    qputenv("SDL_DISKAUDIOFILE", diskFile_.toLocal8Bit());
    QElapsedTimer timer;
    timer.start();
    auto player = std::make_unique<SdlSoundPlayer>(std::move(preload));
    const qint64 constructMs = timer.elapsed();
    if (constructMs > MAX_CALL_MS) {
        qWarning("constructing the player took %lld ms", constructMs);
        return nullptr;
    }
    if (!QTest::qWaitFor([&player] { return player->State() != State::Opening; }, 5000)) {
        qWarning("the device neither opened nor failed within 5 s");
        return nullptr;
    }
    return player;
}

QByteArray SdlSoundPlayerTest::DiskOutput() const {
    QFile file(diskFile_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void SdlSoundPlayerTest::answersAtOnce_data() {
    QTest::addColumn<QByteArray>("driver");
    QTest::addColumn<bool>("preload");
    QTest::addColumn<qint64>("maxMs");
    // Decoding a long file that was not preloaded is the one slow first play.
    QTest::newRow("dummy, preloaded") << QByteArray("dummy") << true << MAX_CALL_MS;
    QTest::newRow("disk, preloaded") << QByteArray("disk") << true << MAX_CALL_MS;
    QTest::newRow("dummy, decoded on first play") << QByteArray("dummy") << false << qint64(250);
}

void SdlSoundPlayerTest::answersAtOnce() {
    QFETCH(QByteArray, driver);
    QFETCH(bool, preload);
    QFETCH(qint64, maxMs);
    std::vector<std::string> files;
    if (preload) {
        for (const QString& path : {tone_, longTone_, silence_, missing_, notWav_}) {
            files.push_back(path.toStdString());
        }
    }
    const auto player = OpenPlayer(driver.constData(), files);
    QVERIFY(player);
    QCOMPARE(player->State(), State::Ready);

    const struct {
        QString path;
        bool plays;
    } calls[] = {
        {tone_, true},     {tone_, true},    {missing_, false}, {notWav_, false},
        {longTone_, true}, {silence_, true}, {missing_, false}, {tone_, true},
    };
    for (const auto& call : calls) {
        QElapsedTimer timer;
        timer.start();
        const bool played = player->PlayFile(call.path.toStdString());
        const qint64 ms = timer.elapsed();
        QVERIFY2(played == call.plays, qPrintable(call.path));
        QVERIFY2(ms <= maxMs, qPrintable(QStringLiteral("%1 took %2 ms").arg(call.path).arg(ms)));
    }
}

void SdlSoundPlayerTest::writesWhatItPlays() {
    const auto player = OpenPlayer("disk");
    QVERIFY(player);
    QCOMPARE(player->State(), State::Ready);
    // The device writes silence until something plays.
    QTRY_VERIFY(DiskOutput().size() > 20000);
    QVERIFY(IsSilent(DiskOutput()));

    QVERIFY(player->PlayFile(tone_.toStdString()));
    QTRY_VERIFY_WITH_TIMEOUT(!IsSilent(DiskOutput()), 3000);
}

void SdlSoundPlayerTest::newSoundCutsOffTheOldOne() {
    const auto player = OpenPlayer("disk");
    QVERIFY(player);
    QVERIFY(player->PlayFile(longTone_.toStdString()));
    QTRY_VERIFY_WITH_TIMEOUT(!IsSilent(DiskOutput()), 3000);

    QVERIFY(player->PlayFile(silence_.toStdString()));
    const qsizetype cutAt = DiskOutput().size();
    // Allow 300 ms for what the device had mixed already; in the 300 ms after
    // that the rest of the three-second tone must not be heard.
    constexpr qsizetype bytesPerSecond = 44100 * 2 * 2;
    const qsizetype from = cutAt + bytesPerSecond * 3 / 10;
    const qsizetype to = cutAt + bytesPerSecond * 6 / 10;
    QTRY_VERIFY_WITH_TIMEOUT(DiskOutput().size() >= to, 5000);
    QVERIFY(IsSilent(DiskOutput().mid(from, to - from)));
}

void SdlSoundPlayerTest::withoutDeviceEveryPlayFailsAtOnce() {
    const auto player = OpenPlayer("no-such-driver");
    QVERIFY(player);
    QCOMPARE(player->State(), State::Unavailable);
    for (const QString& path : {tone_, missing_}) {
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!player->PlayFile(path.toStdString()));
        QVERIFY(timer.elapsed() <= MAX_CALL_MS);
    }
    player->Beep();
}

// The files in datos/ decode and start at once when preloaded (the tests run
// in the source folder, like the program in its installation folder).
void SdlSoundPlayerTest::playsTheShippedSounds() {
    const auto player = OpenPlayer("dummy", SoundCues::SoundFiles());
    QVERIFY(player);
    for (const std::string& file : SoundCues::SoundFiles()) {
        QElapsedTimer timer;
        timer.start();
        QVERIFY2(player->PlayFile(file), file.c_str());
        QVERIFY(timer.elapsed() <= MAX_CALL_MS);
    }
}

}  // namespace quirtel

QTEST_MAIN(quirtel::SdlSoundPlayerTest)
#include "SdlSoundPlayerTest.moc"
