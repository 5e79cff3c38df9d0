#pragma once

#include "document/recentfiles.h"
#include "view/sharedactions.h"

#include <QByteArray>
#include <QMainWindow>
#include <QSize>

#include <memory>

class FilesCentralWidget;
class ImagesCentralWidget;
class QAction;
class QStackedWidget;

// The program's window in its normal run: files mode (the browser) or images mode (the image
// window) on a stack, each with its own menus, bars and saved layout, and full screen on top.
// It owns what both modes share: the actions and the recent files.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(const QString& startDirectory, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The size of a first start, two thirds of the screen's available area each way, but wide
    // enough for the picture tool bars in a row where the screen is; the window manager places
    // the window.
    static QSize defaultSize(const QSize& available, int toolBarsWidth = 0);

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void restoreWindowState();
    // Geometry and both layouts into the settings; an empty layout is never written.
    void saveWindowState();
    void checkTabletMode();
    void saveOnQuit();

    // Made before the central widgets and gone after them: members go in reverse order, and
    // the stack, declared last, goes first.
    SharedActions m_actions;
    RecentFiles m_recentFiles;
    ImagesCentralWidget* m_imagesWidget = nullptr;
    FilesCentralWidget* m_filesWidget = nullptr;
    QByteArray m_imagesLayout;
    QByteArray m_filesLayout;
    bool m_filesModeBeforeFullscreen = true;
    bool m_tabletMode = false;
    std::unique_ptr<QStackedWidget> m_stack;
};
