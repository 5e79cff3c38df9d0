#pragma once

#include "imaging/readlimits.h"

#include <QByteArray>
#include <QSize>

class QImageReader;

namespace imaging {

// Why a file is not to be decoded.
enum class DecodeRefusal {
    None,
    // A part of the file declares a length beyond the file's end.
    LengthBeyondEnd,
    // The decoded picture would not fit the memory budget.
    TooLarge,
    // The file holds too few bytes for the pixels it declares, in a format that cannot
    // compress that far.
    TooDense,
};

// What a file announces of its picture, read from its header.
struct DeclaredPicture
{
    QByteArray format; // a reader's format name: "png", "jpeg", ...
    QSize size;
    qint64 fileBytes = 0;
    int storedBitsPerPixel = 0; // as the file stores a pixel; 0 when unknown
    bool runLengths = false;    // the pixels are run-length coded
};

// The outcome of a look at a file before decoding it.
struct DecodeVerdict
{
    DecodeRefusal refusal = DecodeRefusal::None;
    // The size the file announces; invalid when it does not tell or was not asked.
    QSize declared;

    bool allowed() const { return refusal == DecodeRefusal::None; }
};

// The one check every decode of a file passes before anything is allocated for its pixels:
// the file's framing must stay within the file, the decoded picture must fit the memory
// budget, and the file must hold enough bytes for the pixels it declares where the format's
// compression has a known limit.
class DecodeGuard
{
public:
    explicit DecodeGuard(const ReadLimits& limits = ReadLimits::forThisMachine());

    // Judges the file the reader is set on. The size is asked of the reader only after the
    // framing proved sound, since some readers allocate while telling it. shownBox is the box
    // the picture will be decoded to fit, invalid for a decode at full size.
    DecodeVerdict judge(QImageReader& reader, const QSize& shownBox = QSize()) const;

    // The same for a picture known from its header: decodedSize is what will be allocated,
    // at decodedBitsPerPixel.
    DecodeVerdict judge(const DeclaredPicture& picture, const QSize& decodedSize,
                        int decodedBitsPerPixel) const;

    // The fewest bytes a file of that format can hold the declared picture in; 0 when the
    // format has no known limit of compression.
    static qint64 minimumFileBytes(const DeclaredPicture& picture);

    // The size a reader of that format allocates when asked to fit declared into shownBox:
    // only JPEG decoders shrink while decoding, by halves down to an eighth; others decode
    // the whole picture first.
    static QSize decodedSize(const QByteArray& format, const QSize& declared, const QSize& shownBox);

private:
    ReadLimits m_limits;
};

} // namespace imaging
