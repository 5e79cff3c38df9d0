#include "support/lumotest.h"

#include "app/startup.h"
#include "decoding/decoderpool.h"
#include "dialogs/registeradjustmentdialogs.h"
#include "platform/lumofm/core.h"
#include "platform/lumoinit.h"
#include "settings/settings.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>

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

void initApplication()
{
    DecoderPool::shared().setProgram(QStringLiteral(LUMO_DECODER_PATH));
    lumoInit(Startup::version(), Startup::description());
    LumoFM::Core::initialize();
    registerAdjustmentDialogs();
}

void flushSettings()
{
    Settings::sync();
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
