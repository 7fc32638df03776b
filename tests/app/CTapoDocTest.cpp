#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "../support/FakePrompts.h"
#include "app/CTapoDoc.h"

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
    QVERIFY(document.OnNewDocument());
    QCOMPARE(document.Title(), QStringLiteral(u"Sin t\u00EDtulo"));
    QVERIFY(document.PathName().isEmpty());
    QVERIFY(!document.IsModified());
    QCOMPARE(setUps.size(), 1);
}

void CTapoDocTest::openReadsNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("opens");
    QTest::newRow("existing file") << QStringLiteral("notas.txt") << true;
    QTest::newRow("missing file") << QStringLiteral("falta.txt") << false;
    QTest::newRow("missing folder") << QStringLiteral("no/notas.txt") << false;
    QTest::newRow("a folder") << QStringLiteral("carpeta") << false;
    QTest::newRow("cancelled") << QString() << false;
}

void CTapoDocTest::openReadsNothing() {
    QFETCH(QString, name);
    QFETCH(bool, opens);
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
        QCOMPARE(prompts.messages,
                 name.isEmpty()
                     ? QStringList()
                     : QStringList{path + QStringLiteral(
                                              "\nImposible encontrar este archivo.\nCompruebe "
                                              "que la ruta y el nombre de archivo son correctos")});
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
