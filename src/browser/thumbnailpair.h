#pragma once

#include <QImage>
#include <QMetaType>
#include <QString>

// What a background load hands back: the file it read and the picture made from it. Worker
// threads build it, so it holds plain values only; the item it belongs to and its icon are kept
// and made on the GUI thread.
struct ThumbnailPair
{
    QString filePath;
    QImage image;
};

Q_DECLARE_METATYPE(ThumbnailPair)
