#pragma once

#include <QObject>

#include <memory>
#include <vector>

class QImage;

// The undo and redo backups of one picture: whole copies, oldest first, the oldest dropped
// beyond a depth when an edit is committed.
class EditHistory : public QObject
{
    Q_OBJECT

public:
    explicit EditHistory(QObject* parent = nullptr);
    ~EditHistory() override;

    // The number of backups a stored setting keeps: its low byte.
    static int undoDepth(int stored);

    // Backs up the picture as it is before an edit.
    void push(const QImage& current);
    // The edit stays: redo is gone, and backups beyond depth are dropped.
    void commit(int depth);
    // The edit is dropped: *current becomes the newest backup. False when there is none.
    bool rollback(QImage* current);
    // *current goes to the redo list and the newest backup takes its place. False when there is
    // nothing to undo.
    bool undo(QImage* current);
    // *current is backed up and the newest redo entry takes its place. False when there is
    // nothing to redo.
    bool redo(QImage* current);
    void clear();
    // Undoing every backup will not bring back a saved state (the picture never had one).
    void markStartUnsaved();

    // Precondition: undoCount() > 0.
    const QImage& newestBackup() const;
    int undoCount() const { return int(m_undoList.size()); }
    int redoCount() const { return int(m_redoList.size()); }
    // Every backup is undone and none was ever dropped: the picture is as the history began.
    bool isAtStart() const;

signals:
    void backupAdded();
    void undoAvailableChanged(bool available);
    void redoAvailableChanged(bool available);

private:
    std::vector<std::unique_ptr<QImage>> m_undoList;
    std::vector<std::unique_ptr<QImage>> m_redoList;
    // Backups were dropped, so an empty undo list no longer means "as in the file".
    bool m_startLost = false;
};
