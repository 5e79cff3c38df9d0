#pragma once

#include "document/picturereader.h"

#include <QFlags>
#include <QObject>

class EditHistory;
class FileCursor;
class Picture;
class PictureEdits;
class QAbstractItemModel;
class QImage;
class QStringList;

// One open picture without any widget: the picture, its edits and their history, the cursor over
// the list of files it belongs to, and reading each file a move lands on with its neighbours read
// ahead. Whatever changes is told through changed(); whoever shows the picture follows that and
// asks the user about unsaved edits before it moves the picture on.
class OpenPicture : public QObject
{
    Q_OBJECT

public:
    enum class Aspect {
        // What is shown: a stand-in, a read, an edit, undo or redo.
        Pixels = 0x1,
        // A read ended, or a picture was made in memory: the file, its format and readability.
        File = 0x2,
        // What the status tells: a read begun, the modified flag.
        Status = 0x4,
        History = 0x8,
        // The rows of the list, or the list itself.
        List = 0x10,
    };
    Q_DECLARE_FLAGS(Aspects, Aspect)

    explicit OpenPicture(int slideDelay, QObject* parent = nullptr);

    Picture* picture() const { return m_picture; }
    EditHistory* history() const { return m_history; }
    PictureEdits* edits() const { return m_edits; }
    FileCursor* cursor() const { return m_cursor; }

    // Pictures read from now on are first shown at the size shownSize gives (none: their own),
    // and their neighbours are read ahead with smaller copies only then. Without a shown size,
    // a picture larger than corner first shows its top left corner.
    void setShownSize(const PictureReader::ShownSize& shownSize, const QSize& corner = {})
    {
        m_shownSize = shownSize;
        m_corner = corner;
    }

    // The list the picture belongs to, standing at row; the list replaced is deleted later, so
    // that whoever shows it can let go of it first.
    void setFileModel(QAbstractItemModel* model, int row);
    QAbstractItemModel* fileModel() const;
    // Reads the first of files, or shows nothing when there are none.
    void openList(const QStringList& files);
    // A picture made in memory, without a file, standing alone in its list.
    void setImage(const QImage& image);
    // Starts reading path in place of the picture; whoever asks gives up its edits.
    void load(const QString& path);
    bool isLoading() const;
    // Blocks until the file being read is in: edits need the full pixels.
    void waitUntilLoaded();

    // The moves; whoever calls them has asked about unsaved edits first.
    void previous();
    void next();
    void first();
    void last();
    void moveTo(int row);
    // One slideshow step.
    void tick();

    // The picture read last is on screen: its neighbours are read ahead now, once per read.
    void shown();

signals:
    void changed(OpenPicture::Aspects aspects);
    // A slideshow step is due; whoever shows the picture asks about edits, then calls tick().
    void slideDue();

private:
    void readCurrent();
    void showStandIn();
    void showRead(bool readable);
    void preloadNeighbours();

    Picture* m_picture;
    EditHistory* m_history;
    PictureEdits* m_edits;
    FileCursor* m_cursor;
    PictureReader::ShownSize m_shownSize;
    QSize m_corner;
    bool m_readAheadDue = false;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(OpenPicture::Aspects)
