#include "view/viewerkeys.h"

namespace ViewerKeys {

const QList<Binding>& bindings()
{
    // Space steps on its release: held, it is the hand that drags the picture (HandTool).
    static const QList<Binding> table = {
        {Step::First, QKeySequence(Qt::Key_Home)},
        {Step::Last, QKeySequence(Qt::Key_End)},
        {Step::Next, QKeySequence(Qt::Key_Space)},
        {Step::Next, QKeySequence(Qt::Key_PageDown)},
        {Step::Previous, QKeySequence(Qt::Key_Backspace)},
        {Step::Previous, QKeySequence(Qt::Key_PageUp)},
    };
    return table;
}

QList<QKeySequence> keysFor(Step step)
{
    QList<QKeySequence> keys;
    for (const Binding& binding : bindings()) {
        if (binding.step == step)
            keys << binding.keys;
    }
    return keys;
}

} // namespace ViewerKeys
