#pragma once

#include <QString>

namespace LumoFM {

// A place in the local file system, by its absolute path; a cheap copyable value.
class Entry
{
public:
    Entry() = default;
    explicit Entry(const QString& absolutePath);

    QString path() const { return m_path; }
    QString localPath() const { return m_path; }
    QString name() const;
    bool isValid() const { return !m_path.isEmpty(); }

    bool isDir() const;
    // A regular file, or a symbolic link that ends at one.
    bool isFile() const;
    // A symbolic link whose final target is a regular file.
    bool isFileLink() const;
    bool isSymLink() const;

    bool operator==(const Entry& other) const { return m_path == other.m_path; }
    bool operator!=(const Entry& other) const { return m_path != other.m_path; }

private:
    QString m_path;
};

} // namespace LumoFM
