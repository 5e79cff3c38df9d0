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
// image in memory or as a new blank image, and shows each read the way the view expects it.
class PictureOpener : public QObject
{
    Q_OBJECT

public:
    PictureOpener(SPicView* view, Picture* picture, FileCursor* cursor, EditHistory* history);

    bool openFile(const QString& path);
    bool openList(const QStringList& files);
    void setImage(const QImage& image);
    void newImage(int width, int height, int depth, uint pixel);
    void importImage(const QImage& image);
    bool loadFile(const QString& path);
    // Writes the picture with the saver and shows what was written.
    bool write(const QString& path, const QString& format, PictureSaver* saver);

private:
    void replaceFileModel(QAbstractItemModel* model);
    void clearSelectionIfAny();

    SPicView* m_view;
    Picture* m_picture;
    FileCursor* m_cursor;
    EditHistory* m_history;
};
