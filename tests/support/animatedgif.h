#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QString>
#include <QVector>

// Animated GIF files built byte by byte, since Qt writes no animation: frame i is filled with
// frameColour(i), so a test tells the frame shown from any pixel.
namespace animatedgif {

// Delays in hundredths of a second, as the file stores them. A loop count below 0 leaves the
// loop extension out (played once); 0 there means for ever.
QByteArray build(const QSize& size, const QVector<int>& delays, int loopCount = 0);
bool write(const QString& path, const QSize& size, const QVector<int>& delays, int loopCount = 0);
QColor frameColour(int frame);

} // namespace animatedgif
