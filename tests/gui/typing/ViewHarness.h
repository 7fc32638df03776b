#pragma once

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "app/CTapoDoc.h"
#include "core/spelling/SpellingResources.h"
#include "gui/typing/CTapoView.h"
#include "support/FakePrompts.h"
#include "support/TypingFakes.h"

namespace quirtel::testing {

// A fresh typing view over fakes, with its word list, personal word list and
// statistics log in a temporary folder.
class ViewHarness {
public:
    explicit ViewHarness(const QByteArray& words = "hola\nmundo\nuno\ndos\ntres\n",
                         QSize size = QSize(480, 320)) {
        wordListPath = dir.filePath(QStringLiteral("es.dic"));
        QFile list(wordListPath);
        if (list.open(QIODevice::WriteOnly)) {
            list.write(words);
        }
        list.close();
        logPath = dir.filePath(QStringLiteral("estadistica.txt"));
        personalPath = dir.filePath(QStringLiteral("personal.dic"));
        document = std::make_unique<CTapoDoc>(prompts);
        spelling = std::make_unique<SpellingResources>(wordListPath.toStdString(),
                                                       personalPath.toStdString(), &prompts);
        view = std::make_unique<CTapoView>(clock, sound, prompts, *spelling);
        QObject::connect(view.get(), &CTapoView::documentTitleChanged, document.get(),
                         &CTapoDoc::SetTitle);
        QObject::connect(document.get(), &CTapoDoc::documentSetUp, view.get(),
                         &CTapoView::FirstSetUp);
        view->SetStatisticsLogPath(logPath.toStdString());
        view->resize(size);
        view->show();
        exposed = QTest::qWaitForWindowExposed(view.get());
        view->FirstSetUp();
    }

    // Types text one character at a time, as a keyboard without compose does;
    // "\n" is the Enter key.
    void Type(const QString& text) {
        for (const QChar c : text) {
            if (c == u'\n') {
                Key(Qt::Key_Return);
            } else {
                QTest::sendKeyEvent(QTest::Click, view.get(), Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            }
        }
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view.get(), key, modifiers);
    }
    // A key event with exactly this text, as X11 sends it.
    void RawKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
        QTest::sendKeyEvent(QTest::Click, view.get(), key, text, modifiers);
    }

    QString Text() const { return view->toPlainText(); }
    QByteArray Log() const {
        QFile file(logPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    bool LogExists() const { return QFile::exists(logPath); }

    QTemporaryDir dir;
    bool exposed = false;
    QString wordListPath;
    QString logPath;
    QString personalPath;  // the personal word list, none at first
    FakeClock clock;
    FakeSoundPlayer sound;
    FakePrompts prompts;
    std::unique_ptr<CTapoDoc> document;
    std::unique_ptr<SpellingResources> spelling;
    std::unique_ptr<CTapoView> view;
};

}  // namespace quirtel::testing
