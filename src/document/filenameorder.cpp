#include "document/filenameorder.h"

#include <QLocale>

namespace filenameorder {

QCollator collator()
{
    QCollator result;
    result.setNumericMode(true);
    result.setCaseSensitivity(Qt::CaseInsensitive);
    return result;
}

bool lessThan(const QCollator& collator, const QString& left, const QString& right)
{
    const int order = collator.compare(left, right);
    return order != 0 ? order < 0 : left < right;
}

bool sortKeysAgree(const QCollator& collator)
{
    return collator.locale().language() != QLocale::C;
}

} // namespace filenameorder
