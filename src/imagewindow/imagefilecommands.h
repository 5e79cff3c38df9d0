#pragma once

#include <QObject>
#include <QPointer>

class ImagesCentralWidget;
class LumoScanDialog;
class WallpaperSetter;

// The image window's file commands: each hands the current picture to the helper doing the
// work, with the window as the parent of whatever dialog that helper shows.
class ImageFileCommands : public QObject
{
    Q_OBJECT

public:
    explicit ImageFileCommands(ImagesCentralWidget* window);
    ~ImageFileCommands() override;

    void open();
    void save();
    void saveAs();
    void print();
    void changeWallpaper();
    void remove();
    void scan();
    // The scanner dialog's size is kept only once a dialog was opened.
    void storeScanDialogSize() const;

private:
    ImagesCentralWidget* m_window;
    WallpaperSetter* m_wallpaperSetter;
    QPointer<LumoScanDialog> m_scanDialog;
    int m_printMethod = 1;
};
