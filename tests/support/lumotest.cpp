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

namespace {

template <typename T> void addColumn(const QString& name)
{
    // The test table keeps the name's pointer, not a copy.
    static QList<QByteArray> names;
    names.append(name.toLatin1());
    QTest::addColumn<T>(names.last().constData());
}

// A cell the table cannot mean (a typing slip) fails the test rather than reading as 0 or false.
void addCell(QTestData& row, const QString& type, const QString& cell)
{
    bool ok = true;
    if (type == QLatin1String("int")) {
        row << cell.toInt(&ok);
    } else if (type == QLatin1String("qint64")) {
        row << cell.toLongLong(&ok);
    } else if (type == QLatin1String("bool")) {
        row << (cell == QLatin1String("true"));
        ok = cell == QLatin1String("true") || cell == QLatin1String("false");
    } else if (type == QLatin1String("size")) {
        bool height = true;
        row << (cell.isEmpty() ? QSize()
                               : QSize(cell.section(QLatin1Char('x'), 0, 0).toInt(&ok),
                                       cell.section(QLatin1Char('x'), 1, 1).toInt(&height)));
        ok = cell.isEmpty() || (ok && height);
    } else if (type == QLatin1String("hex")) {
        row << QByteArray::fromHex(cell.toLatin1());
    } else if (type == QLatin1String("file")) {
        const QString path = dataDir(QStringLiteral("samples/") + cell);
        row << contents(path);
        ok = QFile::exists(path);
    } else if (type == QLatin1String("ints")) {
        QVector<int> values;
        for (const QString& value : cell.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool number = true;
            values << int(value.trimmed().toLongLong(&number, 0)); // 0xAARRGGBB too
            ok = ok && number;
        }
        row << values;
    } else {
        row << cell;
    }
    QVERIFY2(ok, qPrintable(type + QLatin1String(": ") + cell));
}

} // namespace

void addRows(const QString& name)
{
    QFile file(dataDir(QStringLiteral("tables/") + name));
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
    QStringList types;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("columns:"))) {
            for (const QString& column : line.mid(8).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                const QString columnName = column.section(QLatin1Char(':'), 0, 0);
                types << column.section(QLatin1Char(':'), 1);
                if (types.last() == QLatin1String("int"))
                    addColumn<int>(columnName);
                else if (types.last() == QLatin1String("qint64"))
                    addColumn<qint64>(columnName);
                else if (types.last() == QLatin1String("bool"))
                    addColumn<bool>(columnName);
                else if (types.last() == QLatin1String("size"))
                    addColumn<QSize>(columnName);
                else if (types.last() == QLatin1String("hex")
                         || types.last() == QLatin1String("file"))
                    addColumn<QByteArray>(columnName);
                else if (types.last() == QLatin1String("ints"))
                    addColumn<QVector<int>>(columnName);
                else
                    addColumn<QString>(columnName);
            }
            continue;
        }
        QStringList cells = line.split(QLatin1Char('|'));
        QVERIFY2(cells.size() == types.size() + 1, qPrintable(line));
        for (QString& cell : cells)
            cell = cell.trimmed();
        QTestData& row = QTest::newRow(qPrintable(cells.first()));
        for (int i = 0; i < types.size(); ++i)
            addCell(row, types.at(i), cells.at(i + 1));
    }
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
