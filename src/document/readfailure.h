#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

// Why a file gave no picture, or only part of one, for the status bar: told from the file's
// size, its leading bytes and, for a JPEG, its markers, never by decoding it here.
class ReadFailure
{
    Q_DECLARE_TR_FUNCTIONS(ReadFailure)

public:
    // "Read error: " and the reason a file that would not read failed; empty for a file that
    // cannot even be opened, where the plain read error says all that is known.
    static QString text(const QString& path);
    // The reason for a file that reads only partly; empty for one that is whole. Only JPEGs
    // can tell: their decoder fills in a cut-off picture without a word.
    static QString partlyReadText(const QString& path);

    // Whether the bytes of a JPEG stop before the marker that ends its picture. Reads only inside
    // the bytes, whatever they hold.
    static bool isCutShortJpeg(const uchar* data, qint64 size);
};
