#pragma once

#include <QKeySequence>
#include <QList>

// The keys viewer users reach for to step through pictures, on top of the navigation actions'
// own shortcuts: one table, so that a key is given once and only where nothing else holds it.
namespace ViewerKeys {

enum class Step
{
    First,
    Last,
    Next,
    Previous
};

struct Binding
{
    Step step;
    QKeySequence keys;
};

const QList<Binding>& bindings();
QList<QKeySequence> keysFor(Step step);

} // namespace ViewerKeys
