#include "support/lumotest.h"

#include "platformwidgets/filedialogs.h"

#include <QFileDialog>
#include <QTimer>

namespace {

// Runs the dialog once; while it is up, notes its mode, filter and files and closes it as the
// user would.
bool runOnce(FileDialogs::SaveDialog* dialog, bool accept, QStringList* shown, QString* file,
             QString* filter)
{
    QTimer::singleShot(0, [=] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QFileDialog*>(widget);
            if (!box || !box->isVisible())
                continue;
            const bool save = box->acceptMode() == QFileDialog::AcceptSave;
            *shown = QStringList{save ? "save" : "open", box->selectedNameFilter()}
                     + box->selectedFiles();
            QDialog* asDialog = box; // QFileDialog hides the public accept() of QDialog
            accept ? asDialog->accept() : asDialog->reject();
        }
    });
    return dialog->run(file, filter);
}

} // namespace

// The real save dialog: what it shows first, and what it keeps for the next run.
class TestFileDialogs : public QObject
{
    Q_OBJECT

private slots:
    void saveDialogKeepsState_data()
    {
        lumotest::addRows(QStringLiteral("filedialogs-filters.txt"));
    }

    void saveDialogKeepsState()
    {
        QFETCH(QString, proposedFilter);
        QFETCH(QString, shownFilter);
        QTemporaryDir dir;
        const QString path = dir.filePath("photo.png");
        const std::unique_ptr<FileDialogs::SaveDialog> dialog = FileDialogs::current()->saveDialog(
            nullptr, {"Save file as", QString(), {"BMP (*.bmp *.BMP)", "PNG (*.png *.PNG)"},
                      proposedFilter, path});
        QStringList shown;
        QString file;
        QString filter;
        QVERIFY(runOnce(dialog.get(), true, &shown, &file, &filter));
        QCOMPARE(shown, (QStringList{"save", shownFilter, path}));
        QCOMPARE((QStringList{file, filter}), (QStringList{path, shownFilter}));

        // Shown again after a refused name, it still holds the user's folder, name and filter.
        QVERIFY(!runOnce(dialog.get(), false, &shown, &file, &filter));
        QCOMPARE(shown, (QStringList{"save", shownFilter, path}));
    }
};

LUMO_TEST_MAIN(TestFileDialogs)
#include "tst_filedialogs.moc"
