#pragma once

#include <QObject>

class EditHistory;
class FileCursor;
class Picture;
class PictureSaver;
class QAbstractItemModel;
class QImage;
class QString;
class QStringList;
class SPicView;

// Fills a picture view's document: from a file in its directory, from a list of files, from an
// image in memory or as a new blank image. Files are read in the background: the view shows
// each read when it arrives, and its neighbours in the list are read ahead.
class PictureOpener : public QObject
{
    Q_OBJECT

public:
    PictureOpener(SPicView* view, Picture* picture, FileCursor* cursor, EditHistory* history);

    void openFile(const QString& path);
    void openList(const QStringList& files);
    void setImage(const QImage& image);
    void newImage(int width, int height, int depth, uint pixel);
    void loadFile(const QString& path);
    // What the status bar tells while a file is read.
    static QString loadingText();
    // Blocks, with the wait cursor, until the file being read is in.
    void waitUntilLoaded();
    // Writes the picture with the saver and shows what was written.
    bool write(const QString& path, const QString& format, PictureSaver* saver);

private:
    void releaseListing();
    void showStandIn();
    void showRead(bool readable);
    void preloadNeighbours();
    // Reading ahead waits until the picture shown is on screen.
    void preloadNeighboursOncePainted();
    void replaceFileModel(QAbstractItemModel* model);
    void clearSelectionIfAny();

    SPicView* m_view;
    Picture* m_picture;
    FileCursor* m_cursor;
    EditHistory* m_history;
    bool m_preloadOncePainted = false;
};
