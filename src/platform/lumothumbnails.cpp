#include "platform/lumothumbnails.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace LumoThumbnails {

QString sizeDirName(int sizeCode)
{
    switch (sizeCode) {
    case 0:
        return QStringLiteral("normal");
    case 1:
        return QStringLiteral("large");
    case 2:
        return QStringLiteral("x-large");
    case 3:
        return QStringLiteral("xx-large");
    default:
        return QString();
    }
}

QByteArray fileUri(const QString& filePath)
{
    const QFileInfo info(filePath);
    // Other programs store the thumbnail under the link's target, so links must resolve the same way.
    QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QDir::cleanPath(info.absoluteFilePath());
    return QUrl::fromLocalFile(canonical).toEncoded();
}

QString fileNameForUri(const QByteArray& uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex())
        + QStringLiteral(".png");
}

QString thumbnailPath(const QString& filePath, int sizeCode, const QString& cacheDir)
{
    const QString sizeDir = sizeDirName(sizeCode);
    if (filePath.isEmpty() || sizeDir.isEmpty())
        return QString();
    QString base = cacheDir;
    if (base.isEmpty())
        base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/thumbnails");
    return QDir::cleanPath(base + QLatin1Char('/') + sizeDir) + QLatin1Char('/')
        + fileNameForUri(fileUri(filePath));
}

bool openRegularFile(QFile* file)
{
    // Opening without blocking first: a FIFO would otherwise wait here for a writer.
    const int fd = ::open(QFile::encodeName(file->fileName()).constData(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status = {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)
        || ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    if (file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

} // namespace LumoThumbnails
