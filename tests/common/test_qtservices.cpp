#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include "common/qtservices.h"

// The real message boxes and file dialogs, built as the services show them but never run.
class QtServicesTest : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxIsWideEnoughForItsTitle_data();
    void messageBoxIsWideEnoughForItsTitle();
    void fileDialogListsEveryFileFromHome();
    void folderBrowserStartsWithNoFolderChosen();
};

void QtServicesTest::messageBoxIsWideEnoughForItsTitle_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("stored card") << QStringLiteral("Salvataggio scheda effettuato con successo")
                                 << QStringLiteral("La scheda è stata salvata.");
    QTest::newRow("refusal") << QStringLiteral("Esportazione scheda non applicabile") << QStringLiteral("No.");
    QTest::newRow("short") << QStringLiteral("Velmora") << QStringLiteral("Invio e-mail non riuscito.");
}

void QtServicesTest::messageBoxIsWideEnoughForItsTitle()
{
    QFETCH(QString, title);
    QFETCH(QString, text);
    const auto box =
        velmora::makeMessageBox(nullptr, QMessageBox::Information, title, text, QMessageBox::Ok, QMessageBox::Ok, true);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    // The title exactly as given, and room for all of it beside the title bar's buttons.
    QCOMPARE(box->windowTitle(), title);
    QVERIFY2(box->width() >= velmora::titleBarWidth(title),
             qPrintable(QStringLiteral("%1 < %2").arg(box->width()).arg(velmora::titleBarWidth(title))));
    QVERIFY(velmora::titleBarWidth(title) > QFontMetrics(box->font()).horizontalAdvance(title) + 100);
}

void QtServicesTest::fileDialogListsEveryFileFromHome()
{
    const auto dialog = velmora::makeFileDialog(nullptr, QStringLiteral("Selezionare un file e premere Apri:"),
                                                QStringLiteral("Tutti i file (*.*)"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Selezionare un file e premere Apri:"));
    QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::home().canonicalPath());

    QTemporaryDir dir;
    for (const char *name : {"LEGGIMI", "conto.txt", "Makefile"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    dialog->setDirectory(dir.path());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    QVERIFY(types);
    QCOMPARE(types->currentText(), QStringLiteral("Tutti i file (*.*)"));
    auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
    QVERIFY(list);
    auto listed = [list] {
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int r = 0; r < list->model()->rowCount(root); ++r)
            names << list->model()->index(r, 0, root).data().toString();
        names.sort();
        return names;
    };
    // Names without an extension are files too.
    QTRY_COMPARE(listed(),
                 (QStringList{QStringLiteral("LEGGIMI"), QStringLiteral("Makefile"), QStringLiteral("conto.txt")}));
}

void QtServicesTest::folderBrowserStartsWithNoFolderChosen()
{
    const auto dialog = velmora::makeFolderDialog(nullptr, QStringLiteral("Selezionare una cartella:"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Selezionare una cartella:"));
    QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
    QCOMPARE(QDir(dialog->directory()).canonicalPath(), QDir::home().canonicalPath());
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    auto *list = dialog->findChild<QListView *>(QStringLiteral("listView"));
    QVERIFY(list);
    QVERIFY(list->selectionModel()->selectedIndexes().isEmpty());
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name);
    QVERIFY(name->text().isEmpty());
}

QTEST_MAIN(QtServicesTest)
#include "test_qtservices.moc"
