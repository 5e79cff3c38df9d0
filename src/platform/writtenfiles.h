#pragma once

#include <QObject>

// Tells whoever shows files that this program has just written one: the desktop's cached
// thumbnails of the file go at once, and every view listing it makes its icon anew.
class WrittenFiles : public QObject
{
    Q_OBJECT

public:
    static WrittenFiles* instance();

    // GUI thread only, right after path was written.
    void announce(const QString& path);

signals:
    void written(const QString& path);

private:
    WrittenFiles() = default;
};
