#include "document/metadatasegments.h"

#include <QtEndian>

namespace {

enum class Kind
{
    Jpeg,
    Png,
    WebP,
    Other
};

Kind kindOf(const QByteArray& file)
{
    if (file.startsWith("\xff\xd8"))
        return Kind::Jpeg;
    if (file.startsWith("\x89PNG\r\n\x1a\n"))
        return Kind::Png;
    if (file.size() >= 12 && file.startsWith("RIFF") && file.mid(8, 4) == "WEBP")
        return Kind::WebP;
    return Kind::Other;
}

quint32 bigEndian(const QByteArray& file, int at)
{
    return qFromBigEndian<quint32>(file.constData() + at);
}

// The file without its metadata segments: everything from the first scan on is picture.
bool jpegRest(const QByteArray& file, QByteArray* rest)
{
    int at = 2;
    rest->append(file.left(2));
    while (at + 4 <= file.size()) {
        if (uchar(file[at]) != 0xff)
            return false;
        const uchar marker = uchar(file[at + 1]);
        if (marker == 0xda) {
            rest->append(file.mid(at));
            return true;
        }
        const int length = (uchar(file[at + 2]) << 8) | uchar(file[at + 3]);
        if (length < 2 || at + 2 + length > file.size())
            return false;
        // APP0 (JFIF) and APP14 (Adobe) tell how the colours decode.
        const bool metadata =
            (marker >= 0xe1 && marker <= 0xef && marker != 0xee) || marker == 0xfe;
        if (!metadata)
            rest->append(file.mid(at, 2 + length));
        at += 2 + length;
    }
    return false;
}

bool pngRest(const QByteArray& file, QByteArray* rest)
{
    int at = 8;
    rest->append(file.left(8));
    while (at + 12 <= file.size()) {
        const quint32 length = bigEndian(file, at);
        if (length > quint32(file.size() - at - 12))
            return false;
        const QByteArray type = file.mid(at + 4, 4);
        if (type != "eXIf" && type != "iTXt" && type != "tEXt" && type != "zTXt")
            rest->append(file.mid(at, int(length) + 12));
        at += int(length) + 12;
        if (type == "IEND") {
            rest->append(file.mid(at));
            return true;
        }
    }
    return false;
}

// WebP's extended header: its flags that announce metadata or alpha.
constexpr uchar kAnnounced = 0x20 | 0x10 | 0x08 | 0x04;

bool webpRest(const QByteArray& file, const QSize& size, QByteArray* rest)
{
    if (qFromLittleEndian<quint32>(file.constData() + 4) != quint32(file.size() - 8))
        return false;
    int at = 12;
    while (at + 8 <= file.size()) {
        const quint32 length = qFromLittleEndian<quint32>(file.constData() + at + 4);
        const qint64 padded = qint64(length) + (length & 1);
        if (padded > file.size() - at - 8)
            return false;
        const QByteArray type = file.mid(at, 4);
        if (type == "VP8X") {
            if (length != 10)
                return false;
            const QByteArray header = file.mid(at + 8, 10);
            const auto edge = [&header](int from) {
                return 1
                       + (uchar(header[from]) | (uchar(header[from + 1]) << 8)
                          | (uchar(header[from + 2]) << 16));
            };
            if (edge(4) != size.width() || edge(7) != size.height())
                return false;
            rest->append("VP8X");
            rest->append(char(uchar(header[0]) & ~kAnnounced));
            rest->append(header.mid(1, 3));
        } else if (type != "EXIF" && type != "XMP " && type != "ICCP") {
            rest->append(file.mid(at, int(padded) + 8));
        }
        at += int(padded) + 8;
    }
    return at == file.size();
}

bool rest(const QByteArray& file, Kind kind, const QSize& size, QByteArray* result)
{
    switch (kind) {
    case Kind::Jpeg:
        return jpegRest(file, result);
    case Kind::Png:
        return pngRest(file, result);
    case Kind::WebP:
        return webpRest(file, size, result);
    case Kind::Other:
        break;
    }
    return false;
}

} // namespace

bool MetadataSegments::differOnlyInMetadata(const QByteArray& original, const QByteArray& written,
                                            const QSize& size)
{
    const Kind kind = kindOf(original);
    QByteArray mine;
    QByteArray theirs;
    if (kindOf(written) != kind || !rest(original, kind, size, &mine)
        || !rest(written, kind, size, &theirs))
        return false;
    // A simple WebP gains an extended header when metadata comes in: no flags, nothing more.
    if (kind == Kind::WebP && !mine.startsWith("VP8X")
        && theirs.startsWith(QByteArray("VP8X") + QByteArray(4, '\0')))
        theirs.remove(0, 8);
    return mine == theirs;
}
