#include "gui/about/CStyledLabel.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QTest>
#include <climits>
#include <memory>

#include "InkProbe.h"
#include "support/FakePrompts.h"

namespace quirtel {
namespace {

const QString FONT_FAILURE = QStringLiteral("Font could not be created!");

std::unique_ptr<CStyledLabel> MakeLabel(testing::FakePrompts& prompts, const QString& text,
                                        QSize size = QSize(240, 60)) {
    auto label = std::make_unique<CStyledLabel>(prompts);
    label->resize(size);
    label->setText(text);
    return label;
}

}  // namespace

class CStyledLabelTest : public QObject {
    Q_OBJECT

private slots:
    void defaultsAreAnEightPixelLeftAlignedBlackLabel();
    void styleFlags_data();
    void styleFlags();
    void paintFontFollowsTheStyle_data();
    void paintFontFollowsTheStyle();
    void heightIsTheCharacterCell_data();
    void heightIsTheCharacterCell();
    void textIsDrawnAlignedInItsColour_data();
    void textIsDrawnAlignedInItsColour();
    void ampersandIsShownAsItself();
    void longTextWrapsWithinTheLabel();
    void fontThatCannotBeMadeIsReportedOncePerStyle_data();
    void fontThatCannotBeMadeIsReportedOncePerStyle();
    void screenReadersGetTheText();
};

void CStyledLabelTest::defaultsAreAnEightPixelLeftAlignedBlackLabel() {
    testing::FakePrompts prompts;
    CStyledLabel label(prompts);
    QCOMPARE(label.faceName, QStringLiteral("MS Sans Serif"));
    QCOMPARE(label.height, 8);
    QCOMPARE(label.textColour, QColor(0, 0, 0));
    QVERIFY(label.leftAligned);
    QVERIFY(!label.bold && !label.italic && !label.underline && !label.strikeOut);
    QVERIFY(!label.antialiased && !label.centred && !label.rightAligned);
}

void CStyledLabelTest::styleFlags_data() {
    QTest::addColumn<unsigned>("flags");
    // bold, italic, underline, strikeOut, antialiased, centred, left, right
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << 0x00u << QStringLiteral("000000L");
    QTest::newRow("bold") << 0x01u << QStringLiteral("100000L");
    QTest::newRow("italic") << 0x02u << QStringLiteral("010000L");
    QTest::newRow("underline") << 0x04u << QStringLiteral("001000L");
    QTest::newRow("strike out") << 0x08u << QStringLiteral("000100L");
    QTest::newRow("antialiased") << 0x10u << QStringLiteral("000010L");
    QTest::newRow("centred") << 0x20u << QStringLiteral("000001C");
    QTest::newRow("0x40 means nothing") << 0x40u << QStringLiteral("000000L");
    QTest::newRow("right") << 0x80u << QStringLiteral("000000R");
    QTest::newRow("centred wins over right") << 0xA0u << QStringLiteral("000001C");
    QTest::newRow("about box style") << 0x31u << QStringLiteral("100011C");
    QTest::newRow("all bits") << 0xFFu << QStringLiteral("111111C");
    QTest::newRow("high bits ignored") << 0xFF00u << QStringLiteral("000000L");
    QTest::newRow("low byte of a wide value") << 0x19Eu << QStringLiteral("011110R");
}

void CStyledLabelTest::styleFlags() {
    QFETCH(unsigned, flags);
    QFETCH(QString, expected);
    testing::FakePrompts prompts;
    CStyledLabel label(prompts);
    // Every switch set first: SetFontStyle must clear what its flags do not set.
    label.SetFontStyle(QStringLiteral("Courier"), 30, Qt::red, 0xFF);
    label.SetFontStyle(QStringLiteral("Arial"), 19, QColor(0, 50, 100), flags);

    QString actual;
    for (const bool on : {label.bold, label.italic, label.underline, label.strikeOut,
                          label.antialiased, label.centred}) {
        actual += on ? QLatin1Char('1') : QLatin1Char('0');
    }
    QCOMPARE(int(label.centred) + int(label.leftAligned) + int(label.rightAligned), 1);
    actual += label.centred ? QLatin1Char('C')
                            : (label.rightAligned ? QLatin1Char('R') : QLatin1Char('L'));
    QCOMPARE(actual, expected);
    QCOMPARE(label.faceName, QStringLiteral("Arial"));
    QCOMPARE(label.height, 19);
    QCOMPARE(label.textColour, QColor(0, 50, 100));
}

void CStyledLabelTest::paintFontFollowsTheStyle_data() {
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("italic");
    QTest::addColumn<bool>("underline");
    QTest::addColumn<bool>("strikeOut");
    QTest::addColumn<int>("strategy");
    QTest::newRow("plain") << 0x00u << int(QFont::Normal) << false << false << false
                           << int(QFont::PreferDefault);
    QTest::newRow("bold antialiased")
        << 0x11u << int(QFont::Black) << false << false << false << int(QFont::PreferAntialias);
    QTest::newRow("italic underline strike out")
        << 0x0Eu << int(QFont::Normal) << true << true << true << int(QFont::PreferDefault);
}

void CStyledLabelTest::paintFontFollowsTheStyle() {
    QFETCH(unsigned, flags);
    QFETCH(int, weight);
    QFETCH(bool, italic);
    QFETCH(bool, underline);
    QFETCH(bool, strikeOut);
    QFETCH(int, strategy);
    testing::FakePrompts prompts;
    CStyledLabel label(prompts);
    label.SetFontStyle(QStringLiteral("Arial"), 16, Qt::black, flags);
    const std::optional<QFont> font = label.PaintFont();
    QVERIFY(font.has_value());
    QCOMPARE(font->family(), QStringLiteral("Arial"));
    QCOMPARE(int(font->weight()), weight);
    QCOMPARE(font->italic(), italic);
    QCOMPARE(font->underline(), underline);
    QCOMPARE(font->strikeOut(), strikeOut);
    QCOMPARE(int(font->styleStrategy()), strategy);
}

void CStyledLabelTest::heightIsTheCharacterCell_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("height");
    QTest::newRow("default face 8") << QStringLiteral("MS Sans Serif") << 8;
    QTest::newRow("author lines") << QStringLiteral("Arial") << 16;
    QTest::newRow("version line") << QStringLiteral("Arial") << 19;
    QTest::newRow("large") << QStringLiteral("Arial") << 48;
    QTest::newRow("one pixel") << QStringLiteral("Arial") << 1;
}

void CStyledLabelTest::heightIsTheCharacterCell() {
    QFETCH(QString, face);
    QFETCH(int, height);
    testing::FakePrompts prompts;
    CStyledLabel label(prompts);
    label.SetFontStyle(face, height, Qt::black, 0x31);
    const std::optional<QFont> font = label.PaintFont();
    QVERIFY(font.has_value());
    const QFontMetrics metrics(*font);
    const int cell = metrics.ascent() + metrics.descent();
    if (height > 1) {
        QVERIFY2(cell <= height, qPrintable(QStringLiteral("cell %1").arg(cell)));
        QVERIFY2(cell >= height - 3, qPrintable(QStringLiteral("cell %1").arg(cell)));
    }
    QVERIFY(font->pixelSize() >= 1);
}

void CStyledLabelTest::textIsDrawnAlignedInItsColour_data() {
    QTest::addColumn<unsigned>("flags");
    QTest::addColumn<QString>("side");
    QTest::newRow("left") << 0x01u << QStringLiteral("left");
    QTest::newRow("centred") << 0x21u << QStringLiteral("centre");
    QTest::newRow("right") << 0x81u << QStringLiteral("right");
}

void CStyledLabelTest::textIsDrawnAlignedInItsColour() {
    QFETCH(unsigned, flags);
    QFETCH(QString, side);
    testing::FakePrompts prompts;
    auto label = MakeLabel(prompts, QStringLiteral("Hola"), QSize(300, 40));
    label->SetFontStyle(QStringLiteral("Arial"), 19, QColor(0, 50, 100), flags);
    const testing::Ink ink = testing::InkOf(*label);

    QVERIFY(!ink.box.isEmpty());
    QVERIFY2(ink.box.top() < 10, "text starts at the top");
    const int leftGap = ink.box.left();
    const int rightGap = label->width() - 1 - ink.box.right();
    if (side == QStringLiteral("left")) {
        QVERIFY(leftGap < 5 && rightGap > 200);
    } else if (side == QStringLiteral("right")) {
        QVERIFY(rightGap < 5 && leftGap > 200);
    } else {
        QVERIFY(qAbs(leftGap - rightGap) <= 4);
    }
    // The core of bold glyphs is the text colour itself.
    QVERIFY(qAbs(ink.darkest.red() - 0) <= 12);
    QVERIFY(qAbs(ink.darkest.green() - 50) <= 12);
    QVERIFY(qAbs(ink.darkest.blue() - 100) <= 12);
    QVERIFY(prompts.messages.isEmpty());
}

void CStyledLabelTest::ampersandIsShownAsItself() {
    testing::FakePrompts prompts;
    auto one = MakeLabel(prompts, QStringLiteral("&"));
    auto two = MakeLabel(prompts, QStringLiteral("&&"));
    auto mnemonic = MakeLabel(prompts, QStringLiteral("&A"));
    auto plain = MakeLabel(prompts, QStringLiteral("A"));
    for (CStyledLabel* label : {one.get(), two.get(), mnemonic.get(), plain.get()}) {
        label->SetFontStyle(QStringLiteral("Arial"), 19, Qt::black, 0x01);
    }
    const int oneWidth = testing::InkOf(*one).box.width();
    QVERIFY(oneWidth > 0);
    // With mnemonics "&&" would draw one ampersand and "&A" only the "A".
    QVERIFY(testing::InkOf(*two).box.width() > oneWidth * 3 / 2);
    QVERIFY(testing::InkOf(*mnemonic).box.width() > testing::InkOf(*plain).box.width() + 4);
}

void CStyledLabelTest::longTextWrapsWithinTheLabel() {
    testing::FakePrompts prompts;
    auto label = MakeLabel(prompts, QStringLiteral("uno dos tres cuatro cinco seis siete ocho"),
                           QSize(90, 200));
    label->SetFontStyle(QStringLiteral("Arial"), 16, Qt::black, 0x21);
    const testing::Ink ink = testing::InkOf(*label);
    QVERIFY(ink.box.right() < label->width());
    QVERIFY2(ink.box.height() > 2 * 16, "three lines or more");
}

void CStyledLabelTest::fontThatCannotBeMadeIsReportedOncePerStyle_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("fails");
    QTest::newRow("zero") << 0 << true;
    QTest::newRow("negative") << -12 << true;
    QTest::newRow("most negative") << INT_MIN << true;
    QTest::newRow("absurdly large") << CStyledLabel::MAX_HEIGHT + 1 << true;
    QTest::newRow("largest") << CStyledLabel::MAX_HEIGHT << false;
    QTest::newRow("smallest") << 1 << false;
}

void CStyledLabelTest::fontThatCannotBeMadeIsReportedOncePerStyle() {
    QFETCH(int, height);
    QFETCH(bool, fails);
    testing::FakePrompts prompts;
    auto label = MakeLabel(prompts, QStringLiteral("Quirtel"));
    label->SetFontStyle(QStringLiteral("Arial"), height, Qt::black, 0x31);
    QCOMPARE(label->PaintFont().has_value(), !fails);
    if (!fails) {
        return;
    }

    QVERIFY2(testing::InkOf(*label).box.isEmpty(), "no text without a font");
    QTRY_COMPARE(prompts.messages, QStringList{FONT_FAILURE});
    testing::InkOf(*label);
    QTest::qWait(20);
    QCOMPARE(prompts.messages.size(), 1);

    label->SetFontStyle(QStringLiteral("Arial"), height, Qt::black, 0x31);
    testing::InkOf(*label);
    QTRY_COMPARE(prompts.messages.size(), 2);

    label->SetFontStyle(QStringLiteral("Arial"), 16, Qt::black, 0x31);
    QVERIFY(!testing::InkOf(*label).box.isEmpty());
    QTest::qWait(20);
    QCOMPARE(prompts.messages.size(), 2);
}

void CStyledLabelTest::screenReadersGetTheText() {
    testing::FakePrompts prompts;
    auto label = MakeLabel(prompts, QStringLiteral("Quirtel Versión 2.0"));
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(label.get());
    QVERIFY(accessible != nullptr);
    QCOMPARE(accessible->text(QAccessible::Name), QStringLiteral("Quirtel Versión 2.0"));
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CStyledLabelTest)
#include "CStyledLabelTest.moc"
