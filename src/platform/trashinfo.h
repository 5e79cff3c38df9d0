#pragma once

#include <QByteArray>
#include <QString>

// The record the freedesktop trash keeps beside each trashed file (its .trashinfo), whose
// Path line names where the file came from.
namespace TrashInfo {

// The record with the Path line naming original percent-encoded, as the trash format wants it;
// the record as it is when that line is encoded already, empty when no line names original.
QByteArray withEncodedPath(const QByteArray& record, const QString& original);

} // namespace TrashInfo
