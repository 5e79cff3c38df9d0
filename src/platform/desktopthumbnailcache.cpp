#include "platform/desktopthumbnailcache.h"

#include "imaging/decodeguard.h"
#include "platform/lumothumbnails.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QStandardPaths>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QString kUriKey = QStringLiteral("Thumb::URI");
const QString kMTimeKey = QStringLiteral("Thumb::MTime");
const QString kSizeKey = QStringLiteral("Thumb::Size");

QString sizeDir(DesktopThumbnailCache::Size size)
{
    return LumoThumbnails::sizeDirName(size == DesktopThumbnailCache::Size::Normal ? 0 : 1);
}

QString failureDir()
{
    return QStringLiteral("fail/lumo-image-" LUMO_VERSION);
}

QString canonicalOrClean(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// Thumbnails tell what others have looked at: the cache's folders are the user's alone.
bool makePrivateDirs(const QString& cacheDir, const QString& subDir)
{
    if (!QDir().mkpath(QFileInfo(cacheDir).absolutePath()))
        return false;
    QString path = cacheDir;
    const QStringList parts = subDir.split(QLatin1Char('/'));
    for (int i = -1; i < parts.size(); ++i) {
        if (i >= 0)
            path += QLatin1Char('/') + parts.at(i);
        // Another thread may make the same folder at the same moment.
        if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

// Whether the keys of a stored thumbnail or failure say it was made from the file as it is now.
bool madeFrom(const QImage& image, const DesktopThumbnailCache::Source& source)
{
    if (image.text(kUriKey).toLatin1() != source.uri)
        return false;
    bool ok = false;
    const qint64 mtime = image.text(kMTimeKey).toLongLong(&ok);
    if (!ok || mtime != source.mtime)
        return false;
    // The size is optional; when present it must agree.
    const QString size = image.text(kSizeKey);
    return size.isEmpty() || (size.toLongLong(&ok) == source.size && ok);
}

// A stored PNG no larger than maxEdge, or a null image.
QImage readStored(const QString& path, int maxEdge)
{
    QFile file(path);
    if (!LumoThumbnails::openRegularFile(&file))
        return QImage();
    QImageReader reader(&file, "png");
    const imaging::DecodeVerdict verdict = imaging::DecodeGuard().judge(reader);
    const QSize size = verdict.declared;
    if (!verdict.allowed() || !size.isValid() || size.width() > maxEdge || size.height() > maxEdge)
        return QImage();
    return reader.read();
}

} // namespace

DesktopThumbnailCache::DesktopThumbnailCache(const QString& cacheDir)
    : m_cacheDir(cacheDir)
{
    if (m_cacheDir.isEmpty())
        m_cacheDir = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/thumbnails");
    m_cacheDir = QDir::cleanPath(m_cacheDir);
}

int DesktopThumbnailCache::edge(Size size)
{
    return size == Size::Normal ? 128 : 256;
}

DesktopThumbnailCache::Size DesktopThumbnailCache::sizeFor(int shownEdge)
{
    return shownEdge <= edge(Size::Normal) ? Size::Normal : Size::Large;
}

DesktopThumbnailCache::Source DesktopThumbnailCache::sourceOf(const QString& filePath)
{
    // The seconds as stat gives them, which every program compares: no local time in between.
    struct stat status = {};
    if (::stat(QFile::encodeName(filePath).constData(), &status) != 0)
        return Source{LumoThumbnails::fileUri(filePath), 0, 0};
    return Source{LumoThumbnails::fileUri(filePath), qint64(status.st_mtim.tv_sec),
                  qint64(status.st_size)};
}

QString DesktopThumbnailCache::thumbnailPath(const QString& filePath, Size size) const
{
    return pathFor(LumoThumbnails::fileUri(filePath), sizeDir(size));
}

QString DesktopThumbnailCache::failurePath(const QString& filePath) const
{
    return pathFor(LumoThumbnails::fileUri(filePath), failureDir());
}

bool DesktopThumbnailCache::contains(const QString& filePath) const
{
    return canonicalOrClean(filePath).startsWith(canonicalOrClean(m_cacheDir) + QLatin1Char('/'));
}

QImage DesktopThumbnailCache::read(const Source& source, Size size) const
{
    // A larger thumbnail that another program made serves as well, scaled down: no decode.
    const int ownEdge = edge(size);
    for (int code = size == Size::Normal ? 0 : 1; code <= 3; ++code) {
        const int maxEdge = 128 << code;
        const QImage image =
            readStored(pathFor(source.uri, LumoThumbnails::sizeDirName(code)), maxEdge);
        if (image.isNull() || !madeFrom(image, source))
            continue;
        if (image.width() <= ownEdge && image.height() <= ownEdge)
            return image;
        return image.scaled(ownEdge, ownEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    return QImage();
}

bool DesktopThumbnailCache::hasFailed(const Source& source) const
{
    const QImage marker = readStored(pathFor(source.uri, failureDir()), edge(Size::Large));
    return !marker.isNull() && madeFrom(marker, source);
}

bool DesktopThumbnailCache::write(const Source& source, Size size, const QImage& thumbnail) const
{
    const int most = edge(size);
    if (thumbnail.isNull() || thumbnail.width() > most || thumbnail.height() > most)
        return false;
    return store(source, sizeDir(size), thumbnail);
}

bool DesktopThumbnailCache::writeFailure(const Source& source) const
{
    // The standard's empty picture: one transparent pixel that carries the keys.
    QImage marker(1, 1, QImage::Format_ARGB32);
    marker.fill(Qt::transparent);
    return store(source, failureDir(), marker);
}

void DesktopThumbnailCache::forget(const QString& filePath) const
{
    const QByteArray uri = LumoThumbnails::fileUri(filePath);
    for (int code = 0; code <= 3; ++code)
        QFile::remove(pathFor(uri, LumoThumbnails::sizeDirName(code)));
    QFile::remove(pathFor(uri, failureDir()));
}

QString DesktopThumbnailCache::pathFor(const QByteArray& uri, const QString& subDir) const
{
    return m_cacheDir + QLatin1Char('/') + subDir + QLatin1Char('/')
        + LumoThumbnails::fileNameForUri(uri);
}

bool DesktopThumbnailCache::store(const Source& source, const QString& subDir, QImage image) const
{
    if (!makePrivateDirs(m_cacheDir, subDir))
        return false;
    // The standard asks for 8 bits per channel with alpha, whatever the picture had.
    image = image.convertToFormat(QImage::Format_ARGB32);
    image.setText(kUriKey, QString::fromLatin1(source.uri));
    image.setText(kMTimeKey, QString::number(source.mtime));
    image.setText(kSizeKey, QString::number(source.size));
    image.setText(QStringLiteral("Software"), QStringLiteral("lumo-image " LUMO_VERSION));
    // Written beside its place and renamed over it, so that no reader sees half a thumbnail.
    QSaveFile file(pathFor(source.uri, subDir));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, "png");
    if (!writer.write(image)
        || !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
