#pragma once

#include <QByteArray>

// The program's own ways in for bytes from outside, each taking one input whole: the fuzz
// targets call them, and the regression test replays the files the fuzzers found through the
// very same calls. Files are written to a scratch folder under the XDG cache directory.
namespace fuzzentries {

// PictureReader's full read and quick look of the bytes as a file; whether the full read
// gave a picture.
bool readPicture(const QByteArray& bytes);

// The file browser's thumbnail of the bytes as a file; whether it gave one.
bool readThumbnail(const QByteArray& bytes);

// The bytes' metadata read for the panel, and read, packed and unpacked as between the program
// and a helper, then carried into a freshly encoded picture of each format that holds metadata;
// whether there was metadata.
bool carryMetadata(const QByteArray& bytes);

// The bytes as the fields of a helper's reply, encoded, then garbled by the rest of them on
// the way, and read back against the limits of the request they describe; the returned bytes
// are then checked against a picture as a metadata embedding would be. Whether the reply read.
bool readReply(const QByteArray& bytes);

// A scanned page assembled from frames described by the bytes; whether it completed.
bool assembleScan(const QByteArray& bytes);

// Lines of the bytes as typed paths and URLs, and the rest as a trash record naming the first;
// whether the first named a path.
bool parsePaths(const QByteArray& bytes);

} // namespace fuzzentries
