#pragma once

#include "imagewindow/sharedactions.h"

#include <QByteArray>
#include <QMainWindow>
#include <QSize>

class FilesCentralWidget;
class ImagesCentralWidget;
class QAction;
class QStackedWidget;

// The program's window in its normal run: files mode (the browser) or images mode (the image
// window) on a stack, each with its own menus, bars and saved layout, and full screen on top.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const QString& startDirectory, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The size of a first start, two thirds of the screen's available area each way; the
    // window manager places the window.
    static QSize defaultSize(const QSize& available);

    bool isFilesMode() const;
    FilesCentralWidget* filesWidget() const { return m_filesWidget; }
    ImagesCentralWidget* imagesWidget() const { return m_imagesWidget; }
    QAction* fullScreenAction() const { return m_actions.at(SharedActions::Index::FullScreen); }
    QAction* filesAction() const { return m_actions.at(SharedActions::Index::Files); }
    QAction* imagesAction() const { return m_actions.at(SharedActions::Index::Images); }

public slots:
    void showFilesWindow(bool enable);
    void fullscreenAction_triggered(bool on);
    void openImageOnActivation(const QString& filePath);
    void exitFullscreen();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createSharedActions();
    void restoreWindowState();
    // Geometry and both layouts into the settings; an empty layout is never written.
    void saveWindowState();
    void checkTabletMode();
    void saveOnQuit();

    SharedActions m_actions;
    QStackedWidget* m_stack = nullptr;
    ImagesCentralWidget* m_imagesWidget = nullptr;
    FilesCentralWidget* m_filesWidget = nullptr;
    QByteArray m_imagesLayout;
    QByteArray m_filesLayout;
    bool m_filesModeBeforeFullscreen = true;
    bool m_tabletMode = false;
};
