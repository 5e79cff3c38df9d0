#pragma once

class EditHistory;
class Picture;

// The edit protocol on one picture and its history: backups before an edit, keeping or
// dropping it, undo and redo, and what each means for the picture's modified flag.
class PictureEdits
{
public:
    PictureEdits(Picture* picture, EditHistory* history);

    // Backs up the picture as it is before an edit.
    void backUp();
    // The edit stays; backups beyond depth are dropped.
    void keep(int depth);
    // The edit is dropped and the newest backup comes back; false when there is none.
    bool rollback();
    // Keeps an accepted adjustment; true when that made the picture modified just now. The
    // preview is no change until it is kept, and Ok on untouched controls keeps none.
    bool keepAdjustment(int depth);
    // False when there is nothing to undo.
    bool undo();
    // Every edit undone and none dropped means the picture is as it was read; true when that
    // cleared the modified flag.
    bool markUnmodifiedIfAtStart();
    // False when there is nothing to redo.
    bool redo();

private:
    Picture* m_picture = nullptr;
    EditHistory* m_history = nullptr;
};
