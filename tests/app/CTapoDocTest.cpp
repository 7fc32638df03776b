#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/CTapoDoc.h"
#include "support/FakePrompts.h"

using quirtel::CTapoDoc;

class CTapoDocTest : public QObject {
    Q_OBJECT

private slots:
    void titleIsAlwaysAnnounced();
    void newDocumentResets();
    void openReadsNothing_data();
    void openReadsNothing();
    void saveNeverEmptiesAFile_data();
    void saveNeverEmptiesAFile();
};

void CTapoDocTest::titleIsAlwaysAnnounced() {
    quirtel::testing::FakePrompts prompts;
    CTapoDoc document(prompts);
    QCOMPARE(document.Title(), QStringLiteral(u"Sin t\u00EDtulo"));
    QSignalSpy spy(&document, &CTapoDoc::titleChanged);
    document.SetTitle(QStringLiteral("x"));
    document.SetTitle(QStringLiteral("x"));
    QCOMPARE(spy.size(), 2);
}

void CTapoDocTest::newDocumentResets() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    quirtel::testing::FakePrompts prompts;
    CTapoDoc document(prompts);
    QVERIFY(document.SaveDocumentFile(path));
    QSignalSpy setUps(&document, &CTapoDoc::documentSetUp);
    QSignalSpy titles(&document, &CTapoDoc::titleChanged);
    QVERIFY(document.OnNewDocument());
    QCOMPARE(document.Title(), QStringLiteral(u"Sin t\u00EDtulo"));
    QVERIFY(document.PathName().isEmpty());
    // The caption follows the new title; the file saved before stays.
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles.front().front().toString(), document.Title());
    QVERIFY(QFile::exists(path));
    QCOMPARE(setUps.size(), 1);
}

void CTapoDocTest::openReadsNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("cause");  // the message's second line
    const QString notFound = QStringLiteral("Imposible encontrar este archivo.");
    QTest::newRow("existing file") << QStringLiteral("notas.txt") << true << QString();
    QTest::newRow("missing file") << QStringLiteral("falta.txt") << false << notFound;
    QTest::newRow("missing folder") << QStringLiteral("no/notas.txt") << false << notFound;
    QTest::newRow("a folder") << QStringLiteral("carpeta") << false
                              << QStringLiteral(
                                     u"No es un archivo normal, sino una carpeta, "
                                     u"una tuber\u00EDa o un dispositivo.");
    QTest::newRow("cancelled") << QString() << false << QString();
}

void CTapoDocTest::openReadsNothing() {
    QFETCH(QString, name);
    QFETCH(bool, opens);
    QFETCH(QString, cause);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("carpeta")));
    QFile existing(dir.filePath(QStringLiteral("notas.txt")));
    QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write("contenido") == 9);
    existing.close();

    quirtel::testing::FakePrompts prompts;
    CTapoDoc document(prompts);
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    prompts.nextOpenFileName = path;
    QSignalSpy setUps(&document, &CTapoDoc::documentSetUp);
    QCOMPARE(document.OnFileOpen(), opens);
    QCOMPARE(setUps.size(), opens ? 1 : 0);
    if (opens) {
        QCOMPARE(document.Title(), name);
        QCOMPARE(document.PathName(), path);
    } else {
        QCOMPARE(document.Title(), QStringLiteral(u"Sin t\u00EDtulo"));
        QCOMPARE(prompts.messages.size(), name.isEmpty() ? 0 : 1);
        if (!name.isEmpty()) {
            const QStringList lines = prompts.messages.front().split(u'\n');
            QCOMPARE(lines.size(), 3);
            QCOMPARE(lines.at(0), path);
            QCOMPARE(lines.at(1), cause);
        }
        if (cause.startsWith(QStringLiteral("Imposible"))) {
            QCOMPARE(prompts.messages.front().section(u'\n', 2),
                     QStringLiteral("Compruebe que la ruta y el nombre de archivo son correctos"));
        }
    }
    QVERIFY(existing.open(QIODevice::ReadOnly));
    QCOMPARE(existing.readAll(), QByteArray("contenido"));
}

void CTapoDocTest::saveNeverEmptiesAFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("saves");
    QTest::newRow("new file is created empty")
        << QStringLiteral("nuevo.txt") << QByteArray() << true;
    QTest::newRow("file with content is kept")
        << QStringLiteral("notas.txt") << QByteArray("contenido") << true;
    QTest::newRow("missing folder") << QStringLiteral("no/nuevo.txt") << QByteArray() << false;
}

void CTapoDocTest::saveNeverEmptiesAFile() {
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, saves);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!content.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    quirtel::testing::FakePrompts prompts;
    CTapoDoc document(prompts);
    prompts.nextSaveFileName = path;
    QCOMPARE(document.OnFileSave(), saves);
    QCOMPARE(QFile::exists(path), saves);
    QCOMPARE(prompts.messages.size(), saves ? 0 : 1);
    if (!saves) {
        return;
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
    QCOMPARE(document.Title(), QFileInfo(path).fileName());
    // A second save goes to the same path without asking.
    prompts.nextSaveFileName = dir.filePath(QStringLiteral("otro.txt"));
    QVERIFY(document.OnFileSave());
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("otro.txt"))));
}

QTEST_MAIN(CTapoDocTest)
#include "CTapoDocTest.moc"
