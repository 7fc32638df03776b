#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include "gui/common/QtPrompts.h"

using quirtel::QtPrompts;

class QtPromptsTest : public QObject {
    Q_OBJECT

private slots:
    void fileFilterShowsEveryFile();
    void modalTitleBarHasOnlyClose();
};

// The filter keeps its visible name and lists files without a dot too.
void QtPromptsTest::fileFilterShowsEveryFile() {
    QTemporaryDir dir;
    for (const char* name : {"README", "notas.txt"}) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QFileDialog dialog(nullptr, QStringLiteral("Abrir"), dir.path(), QtPrompts::FileFilter());
    dialog.setOptions(QtPrompts::FileDialogOptions(QFileDialog::AcceptOpen) |
                      QFileDialog::DontUseNativeDialog);
    dialog.show();
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    QCOMPARE(types->currentText(), QStringLiteral("Todos los archivos (*.*)"));
    auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
    QVERIFY(list);
    const auto listed = [list] {
        QStringList names;
        for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
            names << list->model()->index(row, 0, list->rootIndex()).data().toString();
        }
        names.sort();
        return names;
    };
    QTRY_COMPARE(listed(), (QStringList{QStringLiteral("README"), QStringLiteral("notas.txt")}));
    QVERIFY(QtPrompts::FileDialogOptions(QFileDialog::AcceptSave) &
            QFileDialog::DontConfirmOverwrite);
}

void QtPromptsTest::modalTitleBarHasOnlyClose() {
    QDialog fixed;
    fixed.setFixedSize(200, 100);
    QDialog resizable;
    QMessageBox box;
    const struct {
        QWidget* window;
        bool maximise;
    } cases[] = {{&fixed, false}, {&resizable, true}, {&box, false}};
    for (const auto& c : cases) {
        QtPrompts::SetModalTitleBar(*c.window);
        const Qt::WindowFlags flags = c.window->windowFlags();
        QVERIFY(flags.testFlag(Qt::CustomizeWindowHint));
        QVERIFY(flags.testFlag(Qt::WindowTitleHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
        QCOMPARE(flags.testFlag(Qt::WindowMaximizeButtonHint), c.maximise);
        QCOMPARE(c.window->windowType(), Qt::Dialog);
    }
}

QTEST_MAIN(QtPromptsTest)
#include "QtPromptsTest.moc"
