#include "gui/settings/PlacementQt.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <limits>

#include "core/settings/RegistryFile.h"
#include "support/TempFolder.h"

namespace quirtel {

class PlacementQtTest : public QObject {
    Q_OBJECT

private slots:
    void convertsBetweenEdgesAndQtRectangles() {
        constexpr int maxInt = std::numeric_limits<int>::max();
        constexpr int minInt = std::numeric_limits<int>::min();
        const struct {
            WindowRect edges;
            QRect rect;
        } cases[] = {
            {{0, 0, 640, 480}, {0, 0, 640, 480}},
            {{100, 0, 640, 480}, {100, 0, 540, 480}},
            {{-1280, 200, -60, 780}, {-1280, 200, 1220, 580}},
        };
        for (const auto& c : cases) {
            QCOMPARE(OuterRectFor(c.edges), c.rect);
            QCOMPARE(WindowRectFor(c.rect), c.edges);
            // QRect's right() is the last pixel; the stored edge lies one past it.
            QCOMPARE(WindowRectFor(c.rect).x2, c.rect.right() + 1);
        }
        // Sizes that are not positive or do not fit an int give the default.
        QCOMPARE(OuterRectFor({minInt, 0, maxInt, 10}), QRect(0, 0, 640, 480));
        QCOMPARE(OuterRectFor({maxInt, 0, minInt, 10}), QRect(0, 0, 640, 480));
        QCOMPARE(OuterRectFor({10, 10, 10, 500}), QRect(0, 0, 640, 480));
        QCOMPARE(OuterRectFor({-5, 0, maxInt, 10}), QRect(0, 0, 640, 480));
        QCOMPARE(OuterRectFor({0, 0, maxInt, 10}).width(), maxInt);
        QCOMPARE(WindowRectFor(QRect(maxInt - 5, 0, 5, 10)).x2, maxInt);
    }

    void placementSurvivesARestartUnlessItLeftTheScreens() {
        QCOMPARE(AvailableScreens().size(),
                 static_cast<std::size_t>(QGuiApplication::screens().size()));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const struct {
            QRect saved;
            QRect loaded;
        } cases[] = {
            {{screen.x() + 10, screen.y() + 20, 300, 200},
             {screen.x() + 10, screen.y() + 20, 300, 200}},
            {{screen.right() - 5, screen.y(), 640, 480},
             {screen.right() - 5, screen.y(), 640, 480}},
            {{screen.right() + 1, screen.y(), 640, 480}, {0, 0, 640, 480}},
            {{screen.x(), screen.bottom() + 1000, 640, 480}, {0, 0, 640, 480}},
        };
        for (const auto& c : cases) {
            testing::TempFolder folder;
            {
                RegistryFile registry(folder.File("registry.reg"));
                QVERIFY(SaveOuterRect(registry, c.saved));
            }
            RegistryFile registry(folder.File("registry.reg"));
            QCOMPARE(LoadOuterRect(registry), c.loaded);
        }
        // Nothing stored yet: the first start.
        testing::TempFolder empty;
        RegistryFile registry(empty.File("registry.reg"));
        QCOMPARE(LoadOuterRect(registry), QRect(0, 0, 640, 480));
    }
};

}  // namespace quirtel

QTEST_MAIN(quirtel::PlacementQtTest)
#include "PlacementQtTest.moc"
