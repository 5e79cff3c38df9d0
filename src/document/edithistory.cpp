#include "document/edithistory.h"

#include <QImage>

#include <algorithm>

EditHistory::EditHistory(QObject* parent)
    : QObject(parent)
{
}

EditHistory::~EditHistory() = default;

int EditHistory::undoDepth(int stored)
{
    return stored & 0xff;
}

void EditHistory::push(const QImage& current)
{
    m_undoList.push_back(std::make_unique<QImage>(current));
    emit backupAdded();
    emit undoAvailableChanged(true);
}

void EditHistory::commit(int depth)
{
    m_redoList.clear();
    emit redoAvailableChanged(false);
    const size_t kept = size_t(std::max(depth, 0));
    if (m_undoList.size() > kept) {
        m_undoList.erase(m_undoList.begin(), m_undoList.end() - std::ptrdiff_t(kept));
        m_startLost = true;
    }
    if (m_undoList.empty())
        emit undoAvailableChanged(false);
}

bool EditHistory::rollback(QImage* current)
{
    if (m_undoList.empty())
        return false;
    *current = *m_undoList.back();
    m_undoList.pop_back();
    if (m_undoList.empty())
        emit undoAvailableChanged(false);
    return true;
}

bool EditHistory::undo(QImage* current)
{
    if (m_undoList.empty())
        return false;
    m_redoList.push_back(std::make_unique<QImage>(*current));
    if (m_redoList.size() == 1)
        emit redoAvailableChanged(true);
    return rollback(current);
}

bool EditHistory::redo(QImage* current)
{
    if (m_redoList.empty())
        return false;
    // No trimming here: the undone edits were within the depth when they were made.
    push(*current);
    *current = *m_redoList.back();
    m_redoList.pop_back();
    if (m_redoList.empty())
        emit redoAvailableChanged(false);
    return true;
}

void EditHistory::clear()
{
    m_undoList.clear();
    m_redoList.clear();
    m_startLost = false;
    emit undoAvailableChanged(false);
    emit redoAvailableChanged(false);
}

void EditHistory::markStartUnsaved()
{
    m_startLost = true;
}

const QImage& EditHistory::newestBackup() const
{
    return *m_undoList.back();
}

bool EditHistory::isAtStart() const
{
    return m_undoList.empty() && !m_startLost;
}
