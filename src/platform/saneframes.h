#pragma once

#include <QByteArray>
#include <QImage>

#include <sane/sane.h>

// Turning the frames a scanner delivers into images: 1-, 8- and 16-bit samples, grey,
// interleaved RGB, and single red, green or blue bands of a three-pass scan. Lines arrive as
// SANE describes them, bytes_per_line apart; a frame of unknown height (lines -1) is as high as
// the whole lines that arrived.
namespace SaneFrames {

// True for parameters that describe a frame we can read.
bool isSupported(const SANE_Parameters& parameters);

// True for a red, green or blue band of a three-pass scan.
bool isBand(const SANE_Parameters& parameters);

// The lines in a frame of that many bytes: the announced lines when that many arrived, else
// the whole lines there are.
int lineCount(const SANE_Parameters& parameters, qint64 bytes);

// A grey or RGB frame: 1-bit grey as a two-colour image (a set bit is black), other grey as
// 8-bit grey, colour as 32-bit RGB. Null when unsupported, empty or too large.
QImage decode(const SANE_Parameters& parameters, const QByteArray& data);

// Writes a red, green or blue band into the matching channel of rgb (32-bit RGB), over the
// lines and pixels both have. False when the band is not a supported one.
bool mergeBand(QImage& rgb, const SANE_Parameters& parameters, const QByteArray& data);

} // namespace SaneFrames
