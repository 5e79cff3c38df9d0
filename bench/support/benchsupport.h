#pragma once

#include "decoding/decoderpool.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <vector>

// What the benchmarks share: a home of their own, photo-like pictures, decode times, the median
// and the peak resident memory.
namespace bench {

// Points HOME and the XDG folders into a temporary folder, so a run touches nobody's settings or
// thumbnails; made before the QApplication. Also finds the decoder helper.
class IsolatedHome
{
public:
    IsolatedHome()
    {
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/.config")));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(m_dir.path() + QStringLiteral("/.cache")));
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        // The benchmarks live apart from the program and its decoder helper.
        DecoderPool::shared().setProgram(QStringLiteral(LUMO_DECODER_PATH));
    }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Bands and ramps that change every few pixels, quick to make, for timing paints and decodes
// where the file's size does not matter.
inline QImage patternedPhoto(const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x / 7 + y / 3) & 0xff, (x * y / 97) & 0xff, (x ^ y) & 0xff);
    }
    return image;
}

// Smooth light with sensor-like noise, so the file has the size of a real photo.
inline QImage noisyPhoto(const QSize& size, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int noise = int(random.bounded(24u)) - 12;
            line[x] = qRgb(std::clamp(x * 200 / size.width() + noise, 0, 255),
                           std::clamp(y * 200 / size.height() + noise, 0, 255),
                           std::clamp(int(seed * 40 % 256) + noise, 0, 255));
        }
    }
    return image;
}

// A full decode as the view makes it; -1 when the file does not read.
inline qint64 decodeNanoseconds(const QString& path)
{
    QElapsedTimer timer;
    timer.start();
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    const qint64 elapsed = timer.nsecsElapsed();
    return image.isNull() ? -1 : elapsed;
}

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline qint64 peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Lets the peak start from what the process holds now rather than from making the pictures.
inline bool resetPeakResident()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

} // namespace bench
