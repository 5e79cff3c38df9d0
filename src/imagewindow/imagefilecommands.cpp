#include "imagewindow/imagefilecommands.h"

#include "imagewindow/currentviewbinding.h"
#include "imagewindow/fileremoval.h"
#include "imagewindow/imageopener.h"
#include "imagewindow/imageprinter.h"
#include "imagewindow/imagescentralwidget.h"
#include "imagewindow/savecommands.h"
#include "imagewindow/wallpapersetter.h"
#include "platformwidgets/lumoscandialog.h"
#include "settings/settings.h"
#include "view/spicview.h"

#include <QImage>

ImageFileCommands::ImageFileCommands(ImagesCentralWidget* window)
    : QObject(window)
    , m_window(window)
    , m_wallpaperSetter(new WallpaperSetter(this))
{
}

ImageFileCommands::~ImageFileCommands() = default;

void ImageFileCommands::open()
{
    const QStringList files = ImageOpener::chooseFiles(m_window);
    for (const QString& file : files)
        m_window->newPVFromFile(file);
}

void ImageFileCommands::saveAs()
{
    if (SPicView* view = m_window->currentView())
        SaveCommands::saveAs(view, m_window);
    // The write took the changes; the re-read that follows may end later.
    m_window->viewBinding()->refreshActions();
}

void ImageFileCommands::save()
{
    if (SPicView* view = m_window->currentView())
        SaveCommands::save(view, m_window);
    m_window->viewBinding()->refreshActions();
}

void ImageFileCommands::remove()
{
    if (SPicView* view = m_window->currentView())
        requestFileRemoval(view->filePath());
}

void ImageFileCommands::changeWallpaper()
{
    if (SPicView* view = m_window->currentView())
        m_wallpaperSetter->setWallpaper(view->filePath());
}

void ImageFileCommands::scan()
{
    if (!m_scanDialog) {
        // The window's child, so the dialog goes with it and is centred on it.
        m_scanDialog = new LumoScanDialog(m_window);
        connect(m_scanDialog.data(), &LumoScanDialog::imageReady, m_window,
                &ImagesCentralWidget::newPVFromImage);
        m_scanDialog->setWindowFlags(m_scanDialog->windowFlags() | Qt::WindowMaximizeButtonHint);
        m_scanDialog->resize(Settings::instance()->scanDialog()->size());
    }
    if (m_scanDialog->isReady())
        m_scanDialog->exec();
}

void ImageFileCommands::storeScanDialogSize() const
{
    if (m_scanDialog)
        Settings::instance()->scanDialog()->setSize(m_scanDialog->size());
}

void ImageFileCommands::print()
{
    SPicView* view = m_window->currentView();
    if (!view)
        return;
    // Printing is no edit: the picture's history stays as it was. The shared copy keeps the
    // picture printed even if the view moves on while the dialog is open.
    const QImage image = view->image();
    ImagePrinter(m_window).print(image, view->fileName(), m_printMethod);
}
