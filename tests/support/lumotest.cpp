#include "support/lumotest.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QProcess>

#include <algorithm>

namespace lumotest {

IsolatedHome::IsolatedHome()
    : m_dir(std::make_unique<QTemporaryDir>())
{
    const QString base = m_dir->path();
    const auto setDir = [&base](const char* variable, const QString& sub) {
        const QString dir = base + sub;
        QDir().mkpath(dir);
        qputenv(variable, QFile::encodeName(dir));
    };
    setDir("HOME", QString());
    setDir("XDG_CONFIG_HOME", QStringLiteral("/.config"));
    setDir("XDG_CACHE_HOME", QStringLiteral("/.cache"));
    setDir("XDG_DATA_HOME", QStringLiteral("/.local/share"));
    QDir().mkpath(base + QStringLiteral("/Desktop"));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

IsolatedHome::~IsolatedHome() = default;

QString IsolatedHome::path() const
{
    return m_dir->path();
}

QString corpusDir(const QString& sub)
{
    const QString dir = QDir::cleanPath(QStringLiteral(LUMO_CORPUS_DIR) + QLatin1Char('/') + sub);
    return QFileInfo(dir).isDir() ? dir : QString();
}

QString dataDir(const QString& sub)
{
    return QDir::cleanPath(QStringLiteral(LUMO_TEST_DATA_DIR) + QLatin1Char('/') + sub);
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage rampImage(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb(x * 255 / std::max(1, size.width() - 1),
                           y * 255 / std::max(1, size.height() - 1), (x * 7 + y * 13) % 256);
    }
    return image;
}

bool writePicture(const QString& path, const QSize& size, const char* format)
{
    return rampImage(size).save(path, format);
}

QString writeSolid(const QString& path, const QSize& size, const QColor& colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return QDir().mkpath(QFileInfo(path).path()) && image.save(path) ? path : QString();
}

int runAsNobody(const QString& functionAndRow)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QStringLiteral("setpriv"),
                {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                 QStringLiteral("--clear-groups"), QStringLiteral("--"),
                 QCoreApplication::applicationFilePath(), functionAndRow});
    if (!child.waitForFinished(240000) || child.exitStatus() != QProcess::NormalExit)
        return -1;
    return child.exitCode();
}

QByteArray encoded(const QImage& image, const char* format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

} // namespace lumotest
