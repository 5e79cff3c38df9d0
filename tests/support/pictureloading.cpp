#include "support/pictureloading.h"

#include "view/spicview.h"

#include <QPointer>
#include <QtTest>

bool waitForPicture(SPicView* view)
{
    const QPointer<SPicView> watched(view);
    if (!QTest::qWaitFor([&] { return !watched || !watched->isLoading(); }, 20000))
        return false;
    return watched && !watched->isBroken();
}
