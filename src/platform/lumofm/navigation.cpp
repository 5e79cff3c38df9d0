#include "platform/lumofm/navigation.h"

#include "platform/lumofm/vfs.h"

namespace LumoFM {

namespace {

void pushBounded(QList<Entry>& list, const Entry& entry)
{
    list.append(entry);
    while (list.size() > Navigation::historyLimit)
        list.removeFirst();
}

} // namespace

Navigation::Navigation(QObject* parent)
    : QObject(parent)
{
    // Queued connections and QVariant carry entries between threads and through item views.
    qRegisterMetaType<LumoFM::Entry>("LumoFM::Entry");
}

bool Navigation::canGoUp() const
{
    return m_current.isValid() && VFS::ptr()->parent(m_current) != m_current;
}

void Navigation::setCurrent(const Entry& entry)
{
    if (!entry.isValid() || entry == m_current)
        return;
    if (m_current.isValid())
        pushBounded(m_back, m_current);
    m_forward.clear();
    moveTo(entry);
}

void Navigation::back()
{
    if (m_back.isEmpty())
        return;
    pushBounded(m_forward, m_current);
    moveTo(m_back.takeLast());
}

void Navigation::forward()
{
    if (m_forward.isEmpty())
        return;
    pushBounded(m_back, m_current);
    moveTo(m_forward.takeLast());
}

void Navigation::up()
{
    if (canGoUp())
        setCurrent(VFS::ptr()->parent(m_current));
}

void Navigation::refresh()
{
    if (m_current.isValid())
        emit currentChanged(m_current);
}

void Navigation::moveTo(const Entry& entry)
{
    m_current = entry;
    emit currentChanged(m_current);
}

} // namespace LumoFM
