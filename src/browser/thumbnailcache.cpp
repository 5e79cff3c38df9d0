#include "browser/thumbnailcache.h"

#include <iterator>

ThumbnailCache::ThumbnailCache(qint64 budgetBytes)
    : m_budget(budgetBytes)
{
}

void ThumbnailCache::insert(const QModelIndex& index, const QIcon& icon, qint64 cost)
{
    if (!index.isValid())
        return;
    const QPersistentModelIndex key(index);
    remove(key);
    m_order.push_back(key);
    m_entries.insert(key, Entry{icon, cost, std::prev(m_order.end())});
    m_totalCost += cost;
    evict();
}

QIcon ThumbnailCache::find(const QModelIndex& index)
{
    if (!index.isValid())
        return QIcon();
    const auto it = m_entries.find(QPersistentModelIndex(index));
    if (it == m_entries.end())
        return QIcon();
    m_order.splice(m_order.end(), m_order, it->position);
    return it->icon;
}

bool ThumbnailCache::contains(const QModelIndex& index) const
{
    return index.isValid() && m_entries.contains(QPersistentModelIndex(index));
}

void ThumbnailCache::remove(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const auto it = m_entries.find(QPersistentModelIndex(index));
    if (it != m_entries.end())
        erase(it);
}

void ThumbnailCache::removeInvalid()
{
    for (auto it = m_onScreen.begin(); it != m_onScreen.end();)
        it = it->isValid() ? std::next(it) : m_onScreen.erase(it);
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it.key().isValid()) {
            ++it;
            continue;
        }
        m_totalCost -= it->cost;
        m_order.erase(it->position);
        it = m_entries.erase(it);
    }
}

void ThumbnailCache::clear()
{
    m_entries.clear();
    m_order.clear();
    m_onScreen.clear();
    m_totalCost = 0;
}

void ThumbnailCache::setBudget(qint64 budgetBytes)
{
    m_budget = budgetBytes;
    evict();
}

void ThumbnailCache::setOnScreen(QSet<QPersistentModelIndex> items)
{
    m_onScreen = std::move(items);
    evict();
}

void ThumbnailCache::erase(Entries::iterator it)
{
    m_totalCost -= it->cost;
    m_order.erase(it->position);
    m_entries.erase(it);
}

void ThumbnailCache::evict()
{
    // The newest entry stays even when it alone exceeds the budget: it is about to be drawn.
    auto next = m_order.begin();
    while (m_totalCost > m_budget && next != m_order.end() && std::next(next) != m_order.end()) {
        const auto it = m_entries.find(*next++);
        if (!m_onScreen.contains(it.key()))
            erase(it);
    }
}
