#include "platform/trashinfo.h"

#include <QFile>

namespace TrashInfo {

QByteArray withEncodedPath(const QByteArray& record, const QString& original)
{
    const QByteArray raw = QFile::encodeName(original);
    const QByteArray encodedLine = "\nPath=" + raw.toPercentEncoding("/") + '\n';
    if (record.contains(encodedLine))
        return record;
    const QByteArray rawLine = "\nPath=" + raw + '\n';
    const int at = record.indexOf(rawLine);
    if (at < 0)
        return QByteArray();
    QByteArray text = record;
    return text.replace(at, rawLine.size(), encodedLine);
}

} // namespace TrashInfo
