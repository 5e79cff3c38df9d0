#pragma once

#include <QCollator>
#include <QString>

// The order of the file names of a folder in every list that shows them: the file-system
// model's own, numbers by value and case ignored, in the default locale. Names that compare
// equal ("a.png", "A.png") follow their characters' codes, so the order is total.
namespace filenameorder {

QCollator collator();

bool lessThan(const QCollator& collator, const QString& left, const QString& right);

// Whether the collator's sort keys order names as lessThan does. In the C locale they do not:
// its keys are the names' bytes, case and all, while its comparison ignores case.
bool sortKeysAgree(const QCollator& collator);

} // namespace filenameorder
