#pragma once

#include <QImage>
#include <QObject>

#include <functional>

class EditHistory;
class Picture;

// The one path every change of a picture's pixels takes: backups before an edit, keeping or
// dropping it, undo and redo, what each means for the modified flag, and one announcement
// after each, which whoever shows the picture follows.
class PictureEdits : public QObject
{
    Q_OBJECT

public:
    // What an edit makes of the pixels; null when it could not be made (out of memory).
    using Edit = std::function<QImage(const QImage& image)>;

    PictureEdits(Picture* picture, EditHistory* history, QObject* parent = nullptr);

    // Backs up, applies and keeps the edit with depth backups, and marks the picture modified;
    // false, with nothing changed or announced, when the edit made no image.
    bool apply(const Edit& edit, int depth);
    // A picture handed in from outside exists nowhere else: it counts as changed, and undoing
    // every edit will not bring back a saved state.
    void markImported();

    // The steps of an edit that runs a while (an adjustment dialog): the backup first, then
    // keeping or dropping it.
    void backUp();
    // The edit stays; backups beyond depth are dropped.
    void keep(int depth);
    // The edit is dropped and the newest backup comes back; false when there is none.
    bool rollback();
    // Keeps an accepted adjustment. The preview is no change until it is kept, and Ok on
    // untouched controls marks nothing modified.
    void keepAdjustment(int depth);

    // False when there is nothing to undo. Every edit undone and none dropped means the
    // picture is as it was read, and no longer modified.
    bool undo();
    // False when there is nothing to redo.
    bool redo();

signals:
    // The pixels, the history or the modified flag changed through an edit, undo or redo.
    void changed();

private:
    Picture* m_picture = nullptr;
    EditHistory* m_history = nullptr;
};
