#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QUrl>

#include "app/SpanishTranslations.h"
#include "gui/about/ManualAddress.h"
#include "gui/common/Icons.h"

namespace quirtel {
namespace {

bool WriteFile(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("<html></html>") > 0;
}

QImage Render(const char* path, int size) {
    QSvgRenderer renderer(QString::fromLatin1(path));
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

// Share of opaque pixels in a band of rows that are strongly of one hue.
double HueShare(const QImage& image, int top, int bottom, int hue) {
    int hits = 0;
    int total = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ++total;
            const int distance = qAbs(c.hsvHue() - hue);
            if (c.alpha() > 200 && c.hsvSaturation() > 150 && c.value() > 180 &&
                qMin(distance, 360 - distance) < 30) {
                ++hits;
            }
        }
    }
    return total == 0 ? 0.0 : double(hits) / total;
}

}  // namespace

class AboutResourcesTest : public QObject {
    Q_OBJECT

private slots:
    void manualAddressPrefersTheInstalledCopy_data();
    void manualAddressPrefersTheInstalledCopy();
    void manualOfThisBuildExists();
    void iconsLoad_data();
    void iconsLoad();
    void trafficLightsShowTheRightLamp_data();
    void trafficLightsShowTheRightLamp();
    void programIconHasSmallAndLargeSizes();
    void spanishTranslationsOfQt();
    void missingTranslationsChangeNothing();
};

void AboutResourcesTest::manualAddressPrefersTheInstalledCopy_data() {
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("source");
    QTest::addColumn<QString>("expected");
    QTest::newRow("installed program") << true << true << QStringLiteral("installed");
    QTest::newRow("build folder") << false << true << QStringLiteral("source");
    QTest::newRow("nothing found") << false << false << QStringLiteral("installed");
}

void AboutResourcesTest::manualAddressPrefersTheInstalledCopy() {
    QFETCH(bool, installed);
    QFETCH(bool, source);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // A prefix with a blank and an accent, as a home folder may have.
    const QString prefix = root.filePath(QStringLiteral("mi prefijo/ñ"));
    const QString bin = prefix + QStringLiteral("/bin");
    QVERIFY(QDir().mkpath(bin));
    const QString installedPath = prefix + QStringLiteral("/share/doc/quirtel/manual.html");
    const QString sourcePath = root.filePath(QStringLiteral("src/docs/manual.html"));
    if (installed) {
        QVERIFY(WriteFile(installedPath));
    }
    if (source) {
        QVERIFY(WriteFile(sourcePath));
    }
    const QString address = ManualAddress(bin, sourcePath);
    const QUrl url(address);
    QVERIFY(url.isLocalFile());
    QCOMPARE(url.toLocalFile(),
             expected == QStringLiteral("installed") ? installedPath : sourcePath);
    QCOMPARE(QUrl::fromUserInput(address).toLocalFile(), url.toLocalFile());
}

void AboutResourcesTest::manualOfThisBuildExists() {
    const QUrl url(ManualAddress());
    QVERIFY(url.isLocalFile());
    QFile manual(url.toLocalFile());
    QVERIFY2(manual.open(QIODevice::ReadOnly), qPrintable(url.toLocalFile()));
    const QString text = QString::fromUtf8(manual.readAll());
    QVERIFY(text.contains(QStringLiteral("<html lang=\"es\">")));
    QVERIFY(text.contains(QStringLiteral("estadistica.txt")));
}

void AboutResourcesTest::iconsLoad_data() {
    QTest::addColumn<QString>("path");
    for (const char* path : {PROGRAM_ICON_PATH, PROGRAM_ICON_SMALL_PATH, START_ICON_PATH,
                             FINISH_ICON_PATH, ABORT_ICON_PATH}) {
        QTest::newRow(path) << QString::fromLatin1(path);
    }
}

void AboutResourcesTest::iconsLoad() {
    QFETCH(QString, path);
    InitResources();
    QSvgRenderer renderer(path);
    QVERIFY(renderer.isValid());
    QVERIFY(!QIcon(path).pixmap(16, 16).isNull());
}

void AboutResourcesTest::trafficLightsShowTheRightLamp_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("litHue");
    QTest::addColumn<bool>("litAtTop");
    QTest::newRow("start: green at the bottom")
        << QString::fromLatin1(START_ICON_PATH) << 130 << false;
    QTest::newRow("finish: red at the top") << QString::fromLatin1(FINISH_ICON_PATH) << 3 << true;
}

void AboutResourcesTest::trafficLightsShowTheRightLamp() {
    QFETCH(QString, path);
    QFETCH(int, litHue);
    QFETCH(bool, litAtTop);
    InitResources();
    const QByteArray latin = path.toLatin1();
    for (const int size : {16, 32}) {
        const QImage image = Render(latin.constData(), size);
        const double top = HueShare(image, 0, size / 3, litHue);
        const double bottom = HueShare(image, size * 2 / 3, size, litHue);
        const double lit = litAtTop ? top : bottom;
        const double dark = litAtTop ? bottom : top;
        QVERIFY2(lit > 0.05 && dark < 0.01,
                 qPrintable(QStringLiteral("%1 px: lit %2, dark %3").arg(size).arg(lit).arg(dark)));
    }
}

void AboutResourcesTest::programIconHasSmallAndLargeSizes() {
    const QIcon icon = ProgramIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (const QSize wanted : {QSize(16, 16), QSize(32, 32), QSize(256, 256)}) {
        QVERIFY2(sizes.contains(wanted), qPrintable(QString::number(wanted.width())));
    }
    // The small drawing has no letters: it differs from the large one scaled down.
    const QImage small = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage scaled = Render(PROGRAM_ICON_PATH, 16);
    QVERIFY(small != scaled);
}

void AboutResourcesTest::spanishTranslationsOfQt() {
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!QFile::exists(directory + QStringLiteral("/qtbase_es.qm"))) {
        QSKIP("Qt's Spanish translations are not installed (qt6-translations-l10n)");
    }
    QTranslator* translator = InstallSpanishTranslations(*QCoreApplication::instance(), directory);
    QVERIFY(translator != nullptr);
    QCOMPARE(translator->parent(), QCoreApplication::instance());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
    QVERIFY(QCoreApplication::removeTranslator(translator));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
}

void AboutResourcesTest::missingTranslationsChangeNothing() {
    QTemporaryDir empty;
    QVERIFY(empty.isValid());
    const auto before = QCoreApplication::instance()->findChildren<QTranslator*>().size();
    QCOMPARE(InstallSpanishTranslations(*QCoreApplication::instance(), empty.path()), nullptr);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
    QCOMPARE(QCoreApplication::instance()->findChildren<QTranslator*>().size(), before);
}

}  // namespace quirtel

QTEST_MAIN(quirtel::AboutResourcesTest)
#include "AboutResourcesTest.moc"
