#include "gui/about/CAboutDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "FakeUrlOpener.h"
#include "gui/about/CStyledLabel.h"
#include "gui/about/ManualAddress.h"
#include "gui/common/DialogUnits.h"
#include "support/FakePrompts.h"

namespace quirtel {
namespace {

std::unique_ptr<CAboutDlg> MakeDialog(testing::FakePrompts& prompts,
                                      testing::FakeUrlOpener& opener) {
    return std::make_unique<CAboutDlg>(prompts, opener);
}

bool ShowActive(QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    return QTest::qWaitForWindowActive(&dialog);
}

}  // namespace

class CAboutDlgTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();
    void texts();
    void geometryInDialogUnits_data();
    void geometryInDialogUnits();
    void styledLinesAsTheBoxWantsThem_data();
    void styledLinesAsTheBoxWantsThem();
    void styledTextsFitTheirControls_data();
    void styledTextsFitTheirControls();
    void aceptarIsTheOnlyTabStopAndHasTheFocus();
    void keysAndButtonClose_data();
    void keysAndButtonClose();
    void linkOpensTheManual();
    void everyOpeningStartsUnvisitedAndLeavesNoLinkBehind();
    void nothingIsReported();
};

void CAboutDlgTest::cleanup() {
    QCOMPARE(CHyperlink::LinkCount(), 0);
}

void CAboutDlgTest::texts() {
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Acerca de Quirtel"));
    QCOMPARE(dialog->VersionLabel().text(), QStringLiteral("Quirtel Versión 2.0"));
    QCOMPARE(dialog->AuthorLabel().text().split(QLatin1Char('\n')).size(), 3);
    QCOMPARE(dialog->OkButton().text(), QStringLiteral("Aceptar"));
    QVERIFY(dialog->OkButton().isDefault());
    QCOMPARE(dialog->LinkControl().text(), QStringLiteral("Manual de Quirtel"));
    QCOMPARE(dialog->LinkControl().toolTip(), ManualAddress());
    QCOMPARE(dialog->LinkControl().accessibleDescription(), ManualAddress());
    QCOMPARE(dialog->Link().Address(), ManualAddress());
    QVERIFY(!dialog->IconLabel().pixmap().isNull());
    QCOMPARE(dialog->IconLabel().pixmap().size(), QSize(32, 32));
}

void CAboutDlgTest::geometryInDialogUnits_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("units");
    QTest::newRow("version") << QStringLiteral("control1010") << QRect(30, 5, 122, 12);
    QTest::newRow("about lines") << QStringLiteral("control1012") << QRect(10, 23, 119, 28);
    QTest::newRow("Aceptar") << QStringLiteral("control1") << QRect(160, 45, 50, 14);
    QTest::newRow("link") << QStringLiteral("control1011") << QRect(25, 60, 89, 8);
}

void CAboutDlgTest::geometryInDialogUnits() {
    QFETCH(QString, name);
    QFETCH(QRect, units);
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    const QFont font = dialog->font();
    QCOMPARE(dialog->size(), DialogUnitsToPixels(font, 221, 76));
    QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    auto* control = dialog->findChild<QWidget*>(name);
    QVERIFY(control != nullptr);
    QCOMPARE(control->geometry(),
             DialogUnitsToPixels(font, units.x(), units.y(), units.width(), units.height()));
    const QRect icon = DialogUnitsToPixels(font, 175, 15, 20, 20);
    QCOMPARE(dialog->IconLabel().geometry().topLeft(), icon.topLeft());
}

void CAboutDlgTest::styledLinesAsTheBoxWantsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("height");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("version") << QStringLiteral("control1010") << 19 << QColor(0, 50, 100);
    QTest::newRow("about lines") << QStringLiteral("control1012") << 16 << QColor(0, 50, 120);
}

void CAboutDlgTest::styledLinesAsTheBoxWantsThem() {
    QFETCH(QString, name);
    QFETCH(int, height);
    QFETCH(QColor, colour);
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    auto* label = dialog->findChild<CStyledLabel*>(name);
    QVERIFY(label != nullptr);
    QCOMPARE(label->faceName, QStringLiteral("Arial"));
    QCOMPARE(label->height, height);
    QCOMPARE(label->textColour, colour);
    QVERIFY(label->bold && label->antialiased && label->centred);
    QVERIFY(!label->italic && !label->underline && !label->strikeOut);
}

void CAboutDlgTest::styledTextsFitTheirControls_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("version") << QStringLiteral("control1010");
    QTest::newRow("about lines") << QStringLiteral("control1012");
}

void CAboutDlgTest::styledTextsFitTheirControls() {
    QFETCH(QString, name);
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    auto* label = dialog->findChild<CStyledLabel*>(name);
    QVERIFY(label != nullptr);
    const QFontMetrics metrics(*label->PaintFont());
    const int flags = static_cast<int>(label->TextAlignment()) | Qt::TextWordWrap;
    const QRect needed = metrics.boundingRect(label->rect(), flags, label->text());
    QVERIFY2(label->rect().contains(needed), qPrintable(QStringLiteral("needs %1x%2 in %3x%4")
                                                            .arg(needed.width())
                                                            .arg(needed.height())
                                                            .arg(label->width())
                                                            .arg(label->rect().height())));
    // Each line stays whole: no line is wrapped into two.
    const int lines = label->text().count(QLatin1Char('\n')) + 1;
    QCOMPARE(needed.height(), lines * metrics.lineSpacing() - metrics.leading());
}

void CAboutDlgTest::aceptarIsTheOnlyTabStopAndHasTheFocus() {
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    QList<QWidget*> tabStops;
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if ((child->focusPolicy() & Qt::TabFocus) != 0) {
            tabStops.append(child);
        }
    }
    QCOMPARE(tabStops, QList<QWidget*>{&dialog->OkButton()});
    QVERIFY(ShowActive(*dialog));
    QTRY_COMPARE(QApplication::focusWidget(), &dialog->OkButton());
    QTest::keyClick(dialog.get(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), &dialog->OkButton());
}

void CAboutDlgTest::keysAndButtonClose_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("result");
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(QDialog::Accepted);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(QDialog::Rejected);
    QTest::newRow("space on Aceptar") << int(Qt::Key_Space) << int(QDialog::Accepted);
}

void CAboutDlgTest::keysAndButtonClose() {
    QFETCH(int, key);
    QFETCH(int, result);
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    QVERIFY(ShowActive(*dialog));
    QTRY_COMPARE(QApplication::focusWidget(), &dialog->OkButton());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QTRY_VERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), result);
    QVERIFY(opener.opened.isEmpty());
}

void CAboutDlgTest::linkOpensTheManual() {
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    QVERIFY(ShowActive(*dialog));
    QLabel& link = dialog->LinkControl();
    QCOMPARE(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mouseClick(&link, Qt::LeftButton, Qt::NoModifier, QPoint(3, link.height() / 2));
    QCOMPARE(opener.opened, QStringList{ManualAddress()});
    QCOMPARE(link.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    QVERIFY(dialog->isVisible());
}

void CAboutDlgTest::everyOpeningStartsUnvisitedAndLeavesNoLinkBehind() {
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    for (int opening = 1; opening <= 4; ++opening) {
        auto dialog = MakeDialog(prompts, opener);
        QCOMPARE(CHyperlink::LinkCount(), 1);
        QVERIFY(!dialog->Link().Visited());
        QCOMPARE(dialog->LinkControl().palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(ShowActive(*dialog));
        QTest::mouseMove(&dialog->LinkControl(), QPoint(3, 3));
        QTest::mouseClick(&dialog->LinkControl(), Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QTest::keyClick(&dialog->OkButton(), Qt::Key_Return);
        QTRY_VERIFY(!dialog->isVisible());
        dialog.reset();
        QCOMPARE(CHyperlink::LinkCount(), 0);
        QVERIFY(!CHyperlink::HasUnderlineFont());
        QCOMPARE(opener.opened.size(), opening);
    }
}

void CAboutDlgTest::nothingIsReported() {
    testing::FakePrompts prompts;
    testing::FakeUrlOpener opener;
    auto dialog = MakeDialog(prompts, opener);
    QVERIFY(ShowActive(*dialog));
    dialog->repaint();
    QTest::qWait(20);
    QCOMPARE(prompts.messages, QStringList());
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CAboutDlgTest)
#include "CAboutDlgTest.moc"
