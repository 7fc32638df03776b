#include "settings/PlacementQt.h"

#include <QGuiApplication>
#include <QTest>
#include <limits>

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
            {{5, 5, 5, 5}, {5, 5, 0, 0}},
        };
        for (const auto& c : cases) {
            QCOMPARE(OuterRectFor(c.edges), c.rect);
            QCOMPARE(WindowRectFor(c.rect), c.edges);
            // QRect's right() is the last pixel; the stored edge lies one past it.
            QCOMPARE(WindowRectFor(c.rect).x2, c.rect.right() + 1);
        }
        // Sizes that do not fit an int are clamped, not wrapped.
        QCOMPARE(OuterRectFor({minInt, 0, maxInt, 10}).width(), maxInt);
        QCOMPARE(OuterRectFor({maxInt, 0, minInt, 10}).width(), minInt);
        QCOMPARE(WindowRectFor(QRect(maxInt - 5, 0, 100, 10)).x2, maxInt);
    }

    void screensComeFromTheApplication() {
        const std::vector<ScreenRect> screens = AvailableScreens();
        QCOMPARE(screens.size(), static_cast<std::size_t>(QGuiApplication::screens().size()));
        QVERIFY(!screens.empty());
        const QRect first = QGuiApplication::primaryScreen()->availableGeometry();
        const WindowRect far{first.right() + 5000, 0, first.right() + 5640, 480};
        QCOMPARE(SanitizePlacement(far, screens), WindowRect{});
        const WindowRect inside{first.x(), first.y(), first.x() + 300, first.y() + 200};
        QCOMPARE(SanitizePlacement(inside, screens), inside);
    }
};

}  // namespace quirtel

QTEST_MAIN(quirtel::PlacementQtTest)
#include "PlacementQtTest.moc"
