#include "gui/copy/CopyModelView.h"

#include <QAccessible>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

namespace quirtel {

class CopyModelViewTest : public QObject {
    Q_OBJECT

private slots:
    void highlightFollowsTheNextWordOnALongText();
};

namespace {

QString Highlighted(const CopyModelView& view) {
    const QList<QTextEdit::ExtraSelection> selections = view.extraSelections();
    return selections.size() == 1 ? selections.front().cursor.selectedText() : QString();
}

bool WordInSight(CopyModelView& view) {
    QTextCursor word(view.document());
    word.setPosition(view.WordStart());
    const QRect rect = view.cursorRect(word);
    return rect.top() >= 0 && rect.bottom() <= view.viewport()->height();
}

}  // namespace

void CopyModelViewTest::highlightFollowsTheNextWordOnALongText() {
    // Windows line breaks: each "\r\n" is one character in the document.
    std::string model;
    for (int line = 0; line < 400; ++line) {
        model += "Rengl\xF3n " + std::to_string(line) + ": palabra" + std::to_string(line) +
                 "\t, \xA0y m\xE1s.\r\n";
    }
    model += "fin";
    CopyModelView view;
    view.resize(320, 120);
    view.SetModel(model);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.document()->blockCount(), 401);
    QCOMPARE(Highlighted(view), QStringLiteral(u"Rengl\u00F3n"));
    QCOMPARE(view.focusPolicy(), Qt::NoFocus);

    const std::size_t line350 = model.find("Rengl\xF3n 350:");
    struct Case {
        std::size_t offset;
        QString word;
    };
    const Case cases[] = {
        {line350, QStringLiteral(u"Rengl\u00F3n")},
        {model.find("palabra350"), QStringLiteral("palabra350")},
        {model.find("palabra350") + 4, QStringLiteral("palabra350")},  // inside the word
        {model.find("\t", line350), QStringLiteral(",")},              // on whitespace: the next
        {model.find("\xA0y", line350), QStringLiteral(u"\u00A0y")},    // no-break space is no gap
        {model.find("\r\n", line350), QStringLiteral(u"Rengl\u00F3n")},
        {model.find("palabra12"), QStringLiteral("palabra12")},  // back near the top
        {model.size() - 1, QStringLiteral("fin")},
    };
    for (const Case& c : cases) {
        view.SetNextWord(c.offset);
        QCOMPARE(Highlighted(view), c.word);
        QVERIFY2(WordInSight(view), qPrintable(c.word));
    }
    view.SetNextWord(model.find("palabra350"));
    QVERIFY(view.verticalScrollBar()->value() > 300);
    // Past the last word nothing is highlighted.
    view.SetNextWord(model.size());
    QVERIFY(view.extraSelections().isEmpty());

    // A screen reader reads the model as text.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&view);
    QVERIFY(accessible != nullptr && accessible->textInterface() != nullptr);
    QCOMPARE(accessible->textInterface()->text(0, 11), QStringLiteral(u"Rengl\u00F3n 0: "));
    QVERIFY(accessible->state().readOnly);
}

}  // namespace quirtel

QTEST_MAIN(quirtel::CopyModelViewTest)
#include "CopyModelViewTest.moc"
