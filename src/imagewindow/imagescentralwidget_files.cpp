#include "imagewindow/imagescentralwidget.h"

#include "app/settings.h"
#include "dialogs/settingsdialog.h"
#include "imagewindow/fileremoval.h"
#include "imagewindow/imageopener.h"
#include "imagewindow/imagesaver.h"
#include "imagewindow/recentfilesmenu.h"
#include "imagewindow/imageprinter.h"
#include "imagewindow/wallpapersetter.h"
#include "platform/lumoscandialog.h"
#include "view/spicview.h"

#include <QAction>
#include <QImage>

// The image window's file operations: each hands the current picture to the class doing the work.

void ImagesCentralWidget::settingsDlg()
{
    SettingsDialog dialog(this);
    if (dialog.exec() != 0 && m_currentView)
        m_currentView->refreshStatus();
}

void ImagesCentralWidget::updateFileMenu()
{
    RecentFilesMenu::rebuild(m_recentFilesGroup, m_fileMenu.get(), this,
                             &ImagesCentralWidget::loadLast);
}

void ImagesCentralWidget::openDlg()
{
    const QStringList files = ImageOpener::chooseFiles(this);
    for (const QString& file : files)
        newPVFromFile(file);
    if (!files.isEmpty()) {
        shared(SharedActions::Index::Save)->setEnabled(false);
        shared(SharedActions::Index::Remove)->setEnabled(false);
    }
}

void ImagesCentralWidget::saveAsDlg()
{
    if (m_currentView)
        ImageSaver::saveAs(m_currentView, this);
    enableSaveSlot();
}

void ImagesCentralWidget::save()
{
    if (m_currentView)
        ImageSaver::save(m_currentView, this);
    enableSaveSlot();
}

void ImagesCentralWidget::loadLast()
{
    const QString path = RecentFilesMenu::pathOf(qobject_cast<QAction*>(sender()));
    if (!path.isEmpty())
        newPVFromFile(path);
}

void ImagesCentralWidget::removeImageFile()
{
    if (m_currentView)
        requestFileRemoval(m_currentView->filePath());
}

void ImagesCentralWidget::changeWallpaper()
{
    if (m_currentView)
        m_wallpaperSetter->setWallpaper(m_currentView->filePath());
}

void ImagesCentralWidget::scanSlot()
{
    if (!m_scanDialog) {
        m_scanDialog = new LumoScanDialog(this);
        connect(m_scanDialog.data(), &LumoScanDialog::imageReady, this,
                &ImagesCentralWidget::newPVFromImage);
        m_scanDialog->setWindowFlags(m_scanDialog->windowFlags() | Qt::WindowMaximizeButtonHint);
        m_scanDialog->resize(Settings::instance()->scanDialog()->size());
    }
    if (m_scanDialog->isReady())
        m_scanDialog->exec();
}

void ImagesCentralWidget::printDlg()
{
    if (!m_currentView)
        return;
    // Printing is no edit: the picture's history stays as it was. The shared copy keeps the
    // picture printed even if the view moves on while the dialog is open.
    const QImage image = m_currentView->image();
    ImagePrinter(this).print(image, m_currentView->fileName(), m_printMethod);
}

void ImagesCentralWidget::printImageWithPrinterSize(QPrinter* printer, const QImage& image,
                                                    const QSizeF& size)
{
    ImagePrinter::printImageWithPrinterSize(printer, image, size);
}
