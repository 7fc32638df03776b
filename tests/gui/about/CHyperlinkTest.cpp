#include "gui/about/CHyperlink.h"

#include <QDialog>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <memory>

#include "FakeUrlOpener.h"

namespace quirtel {
namespace {

const QString ADDRESS = QStringLiteral("file:///usr/share/doc/quirtel/manual.html");

// A dialog with one link label, as the about box has it.
struct LinkDialog {
    LinkDialog() : dialog(std::make_unique<QDialog>()), label(new QLabel(dialog.get())) {
        dialog->resize(300, 120);
        label->setObjectName(QStringLiteral("control1011"));
        label->setText(QStringLiteral("Manual de Quirtel"));
        label->setGeometry(20, 40, 150, 16);
    }

    std::unique_ptr<QDialog> dialog;
    QLabel* label;
};

// Counts the enter and leave notifications a derived link receives.
class CountingLink final : public CHyperlink {
public:
    using CHyperlink::CHyperlink;
    int enters = 0;
    int leaves = 0;

protected:
    void OnEnter() override { ++enters; }
    void OnLeave() override { ++leaves; }
};

void Send(QWidget* widget, QEvent&& event) {
    QCoreApplication::sendEvent(widget, &event);
}

QMouseEvent Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? button : Qt::NoButton;
    return QMouseEvent(type, QPointF(at), QPointF(at), button, held, Qt::NoModifier);
}

// A move with the left button held: the label has the mouse grabbed and gets
// moves from anywhere (moves without a button come only as enter and leave).
QMouseEvent DragTo(QPoint at) {
    return QMouseEvent(QEvent::MouseMove, QPointF(at), QPointF(at), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
}

QColor TextColour(const QLabel& label) {
    return label.palette().color(QPalette::WindowText);
}

}  // namespace

class CHyperlinkTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void attachFindsTheControlById_data();
    void attachFindsTheControlById();
    void linkIsBlueUntilClickedThenPurple();
    void hoverUnderlinesAndLeavingThroughAnyEdgeEnds_data();
    void hoverUnderlinesAndLeavingThroughAnyEdgeEnds();
    void handCursorAndAddressTooltip();
    void mouseOpensOncePerLeftReleaseOverTheLink_data();
    void mouseOpensOncePerLeftReleaseOverTheLink();
    void realPointerHoversAndClicks();
    void focusedLinkDrawsAFrameAndOpensOnSpaceRelease();
    void linkCountFollowsAttachAndDestroy();
    void detachGivesTheLabelItsOwnLookBack();
    void reattachingMovesTheLink();
};

void CHyperlinkTest::init() {
    QCOMPARE(CHyperlink::LinkCount(), 0);
}

void CHyperlinkTest::cleanup() {
    QCOMPARE(CHyperlink::LinkCount(), 0);
    QVERIFY(!CHyperlink::HasUnderlineFont());
}

void CHyperlinkTest::attachFindsTheControlById_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("attached");
    QTest::newRow("the link control") << 1011 << ADDRESS << true;
    QTest::newRow("no such control") << 1012 << ADDRESS << false;
    QTest::newRow("empty address") << 1011 << QString() << false;
}

void CHyperlinkTest::attachFindsTheControlById() {
    QFETCH(int, id);
    QFETCH(QString, address);
    QFETCH(bool, attached);
    LinkDialog d;
    testing::FakeUrlOpener opener;
    CHyperlink link(opener);
    QCOMPARE(link.Attach(d.dialog.get(), id, address), attached);
    QCOMPARE(link.Control(), attached ? d.label : nullptr);
    QCOMPARE(CHyperlink::LinkCount(), attached ? 1 : 0);
    QCOMPARE(CHyperlink::HasUnderlineFont(), attached);
    QCOMPARE(d.label->toolTip(), attached ? ADDRESS : QString());
    QVERIFY(!link.Attach(nullptr, 1011, ADDRESS));
}

void CHyperlinkTest::linkIsBlueUntilClickedThenPurple() {
    testing::FakeUrlOpener opener;
    for (int opening = 0; opening < 2; ++opening) {
        LinkDialog d;
        CHyperlink link(opener);
        QVERIFY(link.Attach(d.dialog.get(), 1011, ADDRESS));
        QCOMPARE(TextColour(*d.label), QColor(0, 0, 255));
        QVERIFY(!link.Visited());

        Send(d.label, Mouse(QEvent::MouseButtonPress, QPoint(5, 5)));
        Send(d.label, Mouse(QEvent::MouseButtonRelease, QPoint(5, 5)));
        QVERIFY(link.Visited());
        QCOMPARE(TextColour(*d.label), QColor(128, 0, 128));
    }
}

void CHyperlinkTest::hoverUnderlinesAndLeavingThroughAnyEdgeEnds_data() {
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("stillHovering");
    QTest::newRow("top left pixel") << QPoint(0, 0) << true;
    QTest::newRow("bottom right pixel") << QPoint(149, 15) << true;
    QTest::newRow("out left") << QPoint(-1, 5) << false;
    QTest::newRow("out above") << QPoint(5, -1) << false;
    QTest::newRow("out right") << QPoint(150, 5) << false;
    QTest::newRow("out below") << QPoint(5, 16) << false;
    QTest::newRow("far away") << QPoint(-4000, 9000) << false;
}

void CHyperlinkTest::hoverUnderlinesAndLeavingThroughAnyEdgeEnds() {
    QFETCH(QPoint, to);
    QFETCH(bool, stillHovering);
    LinkDialog d;
    testing::FakeUrlOpener opener;
    CountingLink link(opener);
    QVERIFY(link.AttachWindow(d.label, ADDRESS));
    QVERIFY(!d.label->font().underline());

    Send(d.label, QEnterEvent(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5)));
    QVERIFY(link.Hovering());
    QVERIFY(d.label->font().underline());
    QCOMPARE(link.enters, 1);

    Send(d.label, DragTo(to));
    QCOMPARE(link.Hovering(), stillHovering);
    QCOMPARE(d.label->font().underline(), stillHovering);
    QCOMPARE(link.leaves, stillHovering ? 0 : 1);

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(d.label, &leave);
    QVERIFY(!link.Hovering());
    QVERIFY(!d.label->font().underline());
    QCOMPARE(link.leaves, 1);

    // Dragged back in: underlined again.
    Send(d.label, DragTo(QPoint(3, 3)));
    QVERIFY(link.Hovering());
    QVERIFY(d.label->font().underline());
}

void CHyperlinkTest::handCursorAndAddressTooltip() {
    LinkDialog d;
    testing::FakeUrlOpener opener;
    CHyperlink link(opener);
    QVERIFY(link.AttachWindow(d.label, ADDRESS));
    QCOMPARE(d.label->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(d.label->toolTip(), ADDRESS);

    const QString other = QStringLiteral("file:///tmp/otro.html");
    QVERIFY(link.SetAddress(other));
    QCOMPARE(d.label->toolTip(), other);
    QVERIFY(!link.SetAddress(QString()));
    QCOMPARE(link.Address(), other);
}

void CHyperlinkTest::mouseOpensOncePerLeftReleaseOverTheLink_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("opens");
    // p: left press, r: left release inside, o: left release outside,
    // R: right release inside, d: left double click inside.
    QTest::newRow("press alone") << QStringLiteral("p") << 0;
    QTest::newRow("click") << QStringLiteral("pr") << 1;
    QTest::newRow("two clicks") << QStringLiteral("prpr") << 2;
    QTest::newRow("release alone") << QStringLiteral("r") << 1;
    QTest::newRow("dragged out before release") << QStringLiteral("po") << 0;
    QTest::newRow("right button") << QStringLiteral("R") << 0;
    QTest::newRow("double click") << QStringLiteral("prdr") << 2;
}

void CHyperlinkTest::mouseOpensOncePerLeftReleaseOverTheLink() {
    QFETCH(QString, script);
    QFETCH(int, opens);
    LinkDialog d;
    testing::FakeUrlOpener opener;
    CHyperlink link(opener);
    QVERIFY(link.AttachWindow(d.label, ADDRESS));
    const QPoint inside(10, 8);
    for (const QChar step : script) {
        switch (step.toLatin1()) {
            case 'p':
                Send(d.label, Mouse(QEvent::MouseButtonPress, inside));
                break;
            case 'r':
                Send(d.label, Mouse(QEvent::MouseButtonRelease, inside));
                break;
            case 'o':
                Send(d.label, Mouse(QEvent::MouseButtonRelease, QPoint(200, 8)));
                break;
            case 'R':
                Send(d.label, Mouse(QEvent::MouseButtonRelease, inside, Qt::RightButton));
                break;
            case 'd':
                Send(d.label, Mouse(QEvent::MouseButtonDblClick, inside));
                break;
        }
    }
    QCOMPARE(opener.opened, QStringList(opens, ADDRESS));
    QCOMPARE(link.Visited(), opens > 0);
}

void CHyperlinkTest::realPointerHoversAndClicks() {
    LinkDialog d;
    testing::FakeUrlOpener opener;
    CHyperlink link(opener);
    QVERIFY(link.AttachWindow(d.label, ADDRESS));
    d.dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(d.dialog.get()));
    QTest::mouseMove(d.label, QPoint(10, 8));
    QTRY_VERIFY(link.Hovering());
    QVERIFY(d.label->font().underline());
    QTest::mouseMove(d.dialog.get(), QPoint(250, 100));
    QTRY_VERIFY(!link.Hovering());
    QVERIFY(!d.label->font().underline());

    QTest::mousePress(d.label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    QVERIFY(opener.opened.isEmpty());
    QTest::mouseRelease(d.label, Qt::LeftButton, Qt::NoModifier, QPoint(10, 8));
    QCOMPARE(opener.opened, QStringList{ADDRESS});
}

void CHyperlinkTest::focusedLinkDrawsAFrameAndOpensOnSpaceRelease() {
    LinkDialog d;
    auto* other = new QLabel(d.dialog.get());
    other->setFocusPolicy(Qt::StrongFocus);
    d.label->setFocusPolicy(Qt::StrongFocus);
    testing::FakeUrlOpener opener;
    CountingLink link(opener);
    QVERIFY(link.AttachWindow(d.label, ADDRESS));
    d.dialog->show();
    QVERIFY(QTest::qWaitForWindowActive(d.dialog.get()));

    d.label->setFocus();
    QTRY_VERIFY(d.label->hasFocus());
    QCOMPARE(link.enters, 1);
    QVERIFY(link.FocusFrame() != nullptr && link.FocusFrame()->isVisible());
    QCOMPARE(link.FocusFrame()->geometry(), d.label->geometry().adjusted(-1, -1, 1, 1));

    QTest::keyPress(d.label, Qt::Key_Space);
    QVERIFY(opener.opened.isEmpty());
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "),
                       true);
    QCoreApplication::sendEvent(d.label, &repeated);
    QVERIFY(opener.opened.isEmpty());
    QTest::keyRelease(d.label, Qt::Key_Return);
    QVERIFY(opener.opened.isEmpty());
    QTest::keyRelease(d.label, Qt::Key_Space);
    QCOMPARE(opener.opened, QStringList{ADDRESS});

    d.label->move(30, 60);
    QCOMPARE(link.FocusFrame()->geometry(), d.label->geometry().adjusted(-1, -1, 1, 1));

    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(link.leaves, 1);
    QVERIFY(!link.FocusFrame()->isVisible());
}

void CHyperlinkTest::linkCountFollowsAttachAndDestroy() {
    testing::FakeUrlOpener opener;
    LinkDialog first;
    LinkDialog second;
    auto firstLink = std::make_unique<CHyperlink>(opener);
    auto secondLink = std::make_unique<CHyperlink>(opener);
    QVERIFY(firstLink->AttachWindow(first.label, ADDRESS));
    QVERIFY(secondLink->AttachWindow(second.label, ADDRESS));
    QVERIFY(secondLink->AttachWindow(second.label, ADDRESS));  // again: no second count
    QCOMPARE(CHyperlink::LinkCount(), 2);

    firstLink.reset();
    QCOMPARE(CHyperlink::LinkCount(), 1);
    QVERIFY(CHyperlink::HasUnderlineFont());

    // The label going first (its dialog closes) detaches as well, once.
    second.dialog.reset();
    QCOMPARE(CHyperlink::LinkCount(), 0);
    QVERIFY(!CHyperlink::HasUnderlineFont());
    QCOMPARE(secondLink->Control(), nullptr);
    secondLink.reset();
    QCOMPARE(CHyperlink::LinkCount(), 0);
}

void CHyperlinkTest::detachGivesTheLabelItsOwnLookBack() {
    LinkDialog d;
    QFont own(QStringLiteral("Courier"), 20);
    d.label->setFont(own);
    d.label->setToolTip(QStringLiteral("propio"));
    QLabel plain(d.dialog.get());
    const QColor inherited = plain.palette().color(QPalette::WindowText);

    testing::FakeUrlOpener opener;
    {
        CHyperlink link(opener);
        QVERIFY(link.AttachWindow(d.label, ADDRESS));
        Send(d.label, QEnterEvent(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5)));
        QVERIFY(d.label->font().underline());
        QCOMPARE(d.label->font().family(), own.family());
        Send(d.label, Mouse(QEvent::MouseButtonRelease, QPoint(5, 5)));
    }
    QCOMPARE(d.label->font(), own);
    QVERIFY(d.label->testAttribute(Qt::WA_SetFont));
    QCOMPARE(d.label->toolTip(), QStringLiteral("propio"));
    QVERIFY(!d.label->testAttribute(Qt::WA_SetCursor));
    QVERIFY(!d.label->testAttribute(Qt::WA_SetPalette));
    QCOMPARE(TextColour(*d.label), inherited);

    // A released label no longer reacts.
    Send(d.label, Mouse(QEvent::MouseButtonRelease, QPoint(5, 5)));
    QCOMPARE(opener.opened.size(), 1);
}

void CHyperlinkTest::reattachingMovesTheLink() {
    LinkDialog first;
    LinkDialog second;
    testing::FakeUrlOpener opener;
    CHyperlink link(opener);
    QVERIFY(link.AttachWindow(first.label, ADDRESS));
    QVERIFY(link.AttachWindow(second.label, ADDRESS));
    QCOMPARE(CHyperlink::LinkCount(), 1);
    QCOMPARE(first.label->toolTip(), QString());
    QCOMPARE(first.label->cursor().shape(), Qt::ArrowCursor);

    Send(first.label, Mouse(QEvent::MouseButtonRelease, QPoint(5, 5)));
    QVERIFY(opener.opened.isEmpty());
    Send(second.label, Mouse(QEvent::MouseButtonRelease, QPoint(5, 5)));
    QCOMPARE(opener.opened.size(), 1);
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CHyperlinkTest)
#include "CHyperlinkTest.moc"
