#pragma once

#include <QHash>
#include <QIcon>
#include <QPersistentModelIndex>
#include <QSet>

#include <list>

// The thumbnail view's loaded icons, bounded by a memory budget. Keys are persistent indexes, so
// entries follow their items when rows move and die with them; the least recently drawn entries
// make room for new ones, except those of the items on screen.
class ThumbnailCache
{
public:
    // Several screens of the largest (256-pixel) thumbnails.
    static constexpr qint64 kDefaultBudget = 64 * 1024 * 1024;

    explicit ThumbnailCache(qint64 budgetBytes = kDefaultBudget);

    // Replaces any entry of the item. cost is what the icon holds in memory, in bytes.
    void insert(const QModelIndex& index, const QIcon& icon, qint64 cost);
    // The item's icon, or a null icon; a hit counts as a use.
    QIcon find(const QModelIndex& index);
    bool contains(const QModelIndex& index) const;
    void remove(const QModelIndex& index);
    // Drops the entries of items that no longer exist (their model was destroyed or reset).
    void removeInvalid();
    void clear();

    int count() const { return m_entries.size(); }
    qint64 budget() const { return m_budget; }
    void setBudget(qint64 budgetBytes);
    // The items on screen: their entries are never evicted, so the budget stretches to hold
    // at least what is shown.
    void setOnScreen(QSet<QPersistentModelIndex> items);

private:
    using Order = std::list<QPersistentModelIndex>;
    struct Entry
    {
        QIcon icon;
        qint64 cost = 0;
        Order::iterator position;
    };
    using Entries = QHash<QPersistentModelIndex, Entry>;

    void erase(Entries::iterator it);
    void evict();

    Entries m_entries;
    Order m_order; // least recently used first
    qint64 m_budget;
    qint64 m_totalCost = 0;
    QSet<QPersistentModelIndex> m_onScreen;
};
