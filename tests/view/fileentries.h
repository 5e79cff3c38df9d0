#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QStringList>
#include <QtTest>

// Makes entries under dir: "name/" is a directory, a name with a writable image suffix a small
// picture, anything else an empty file.
inline void makeEntries(const QString& dir, const QStringList& entries)
{
    for (const QString& entry : entries) {
        const QString path = dir + QLatin1Char('/') + entry;
        const QByteArray format = QFileInfo(entry).suffix().toLower().toLatin1();
        if (entry.endsWith(QLatin1Char('/'))) {
            QVERIFY(QDir().mkpath(path));
        } else if (QImageWriter::supportedImageFormats().contains(format)) {
            QImage image(4, 4, QImage::Format_RGB32);
            image.fill(Qt::darkCyan);
            QVERIFY(image.save(path, format.constData()));
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }
}
