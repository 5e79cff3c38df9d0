#pragma once

#include "document/picturereader.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <list>
#include <optional>

// Decoded pictures kept for an instant return, bounded in bytes with the least recently used
// dropped first. An entry counts only while its file still has the size and modification time
// it was read with.
class PictureCache
{
public:
    // What a file looked like when it was read.
    struct Stamp
    {
        qint64 size = -1;
        qint64 modifiedNs = 0;

        static Stamp of(const QString& path);
        bool operator==(const Stamp& other) const;
    };

    explicit PictureCache(qint64 budget = defaultBudget());

    // The cache every picture of this process shares.
    static PictureCache* shared();
    // A sixteenth of the physical memory, at most 256 MiB.
    static qint64 defaultBudget();
    static qint64 budgetFor(qint64 physicalMemory);

    qint64 budget() const { return m_budget; }
    qint64 usedBytes() const { return m_used; }
    int count() const { return int(m_entries.size()); }

    // Keeps a readable picture read from path when its file had the stamp; one larger than the
    // whole budget is not kept.
    void insert(const QString& path, const Stamp& stamp, const PictureReader::Result& result);
    // The picture read from path, when its file is unchanged since; a stale entry is dropped.
    std::optional<PictureReader::Result> find(const QString& path);
    bool contains(const QString& path);
    void remove(const QString& path);
    // Drops the least recently used pictures, but those kept, until bytes more fit: a picture
    // being read counts before it is in.
    void makeRoom(qint64 bytes, const QStringList& kept);

private:
    struct Entry
    {
        QString path;
        Stamp stamp;
        PictureReader::Result result;
        qint64 bytes = 0;
    };
    using Entries = std::list<Entry>;

    void erase(Entries::iterator it);

    qint64 m_budget;
    qint64 m_used = 0;
    // Most recently used first.
    Entries m_entries;
    QHash<QString, Entries::iterator> m_index;
};
