#include "platform/lumothumbnails.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

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

} // namespace LumoThumbnails
