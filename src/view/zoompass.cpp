#include "view/zoompass.h"

#include "document/picture.h"
#include "view/spic.h"
#include "view/spicview.h"
#include "view/zoomfit.h"

#include <QScrollBar>

#include <algorithm>
#include <cmath>

ZoomPass::ZoomPass(SPicView* view)
    : m_view(view)
{
}

bool ZoomPass::run()
{
    if (!m_view->isVisible())
        return false;
    if (m_inZoom) {
        m_zoomAgain = true;
        return false;
    }
    m_inZoom = true;
    // Showing or hiding a scroll bar resizes the viewport, which asks for one more pass; the
    // bound keeps a layout that flips between two states from looping.
    for (int round = 0; round < 3; ++round) {
        m_zoomAgain = false;
        pass();
        if (!m_zoomAgain)
            break;
    }
    m_inZoom = false;
    return true;
}

void ZoomPass::pass()
{
    SPic* pic = m_view->pic();
    const Picture* picture = m_view->picture();
    QScrollBar* horizontal = m_view->horizontalScrollBar();
    QScrollBar* vertical = m_view->verticalScrollBar();
    ZoomFit fit(m_view->viewport()->size(), m_view->margin());
    fit.setCenter(pic->size(), horizontal->value(), vertical->value());
    // During a stand-in, the picture it stands for is laid out.
    const QSize shown = picture->shownSize();
    // Fitted in logical pixels, while the scale counts device pixels: the picture is fitted at
    // its logical size, rounded up so that it never spills over.
    const double ratio = pic->devicePixelRatioF();
    const QSize logical(int(std::ceil(shown.width() / ratio)), int(std::ceil(shown.height() / ratio)));
    const double scale =
        fit.scale(m_view->currentZoomMode(), pic->scale(), logical, picture->isBroken());
    pic->setScale(scale);

    m_zoomShown = !picture->isBroken() && !shown.isEmpty();
    pic->resize(fit.canvas(QSize(pic->scaledWidth(), pic->scaledHeight()), m_zoomShown));

    const QSize shownPort = m_view->viewport()->size();
    horizontal->setRange(0, std::max(0, pic->width() - shownPort.width()));
    horizontal->setValue(fit.scrollX(pic->width()));
    vertical->setRange(0, std::max(0, pic->height() - shownPort.height()));
    vertical->setValue(fit.scrollY(pic->height()));
    pic->update();
}
