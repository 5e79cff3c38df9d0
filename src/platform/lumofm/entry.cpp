#include "platform/lumofm/entry.h"

#include <QFileInfo>

namespace LumoFM {

Entry::Entry(const QString& absolutePath)
    : m_path(absolutePath)
{
}

QString Entry::name() const
{
    if (m_path == QLatin1String("/"))
        return m_path;
    return QFileInfo(m_path).fileName();
}

bool Entry::isDir() const
{
    return isValid() && QFileInfo(m_path).isDir();
}

bool Entry::isFile() const
{
    return isValid() && QFileInfo(m_path).isFile();
}

bool Entry::isFileLink() const
{
    const QFileInfo info(m_path);
    return isValid() && info.isSymLink() && info.isFile();
}

bool Entry::isSymLink() const
{
    return isValid() && QFileInfo(m_path).isSymLink();
}

} // namespace LumoFM
