#include "support/lumotest.h"

#include "platform/filedialogs.h"

#include <QFileDialog>
#include <QTimer>

// The real save dialog: what it shows first, and what it keeps for the next run.
class TestFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void saveDialogKeepsState_data();
    void saveDialogKeepsState();
};

namespace {

struct Shown
{
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    QString filter;
    QStringList files;
};

// Runs the dialog once; while it is up, notes what it shows and closes it as the user would.
bool runOnce(FileDialogs::SaveDialog* dialog, bool accept, Shown* shown, QString* file,
             QString* filter)
{
    QTimer::singleShot(0, [=] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QFileDialog*>(widget);
            if (!box || !box->isVisible())
                continue;
            *shown = {box->acceptMode(), box->selectedNameFilter(), box->selectedFiles()};
            QDialog* asDialog = box; // QFileDialog hides the public accept() of QDialog
            accept ? asDialog->accept() : asDialog->reject();
        }
    });
    return dialog->run(file, filter);
}

} // namespace

void TestFileDialogs::saveDialogKeepsState_data()
{
    QTest::addColumn<QString>("proposedFilter");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shownFilter");
    const QStringList filters{"BMP (*.bmp *.BMP)", "PNG (*.png *.PNG)"};
    QTest::newRow("proposed filter and file") << filters.at(1) << "photo.png" << filters.at(1);
    QTest::newRow("no filter proposed keeps the first") << ""
                                                        << "photo" << filters.at(0);
}

void TestFileDialogs::saveDialogKeepsState()
{
    QFETCH(QString, proposedFilter);
    QFETCH(QString, name);
    QFETCH(QString, shownFilter);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const std::unique_ptr<FileDialogs::SaveDialog> dialog =
        FileDialogs::current()->saveDialog(nullptr, {QStringLiteral("Save file as"),
                                                     QString(),
                                                     {"BMP (*.bmp *.BMP)", "PNG (*.png *.PNG)"},
                                                     proposedFilter,
                                                     path});
    Shown shown;
    QString file;
    QString filter;
    QVERIFY(runOnce(dialog.get(), true, &shown, &file, &filter));
    QCOMPARE(shown.mode, QFileDialog::AcceptSave);
    QCOMPARE(shown.filter, shownFilter);
    QCOMPARE(shown.files, QStringList{path});
    QCOMPARE(file, path);
    QCOMPARE(filter, shownFilter);

    // Shown again after a refused name, it still holds the user's folder, name and filter.
    QVERIFY(!runOnce(dialog.get(), false, &shown, &file, &filter));
    QCOMPARE(shown.filter, shownFilter);
    QCOMPARE(shown.files, QStringList{path});
}

LUMO_TEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
