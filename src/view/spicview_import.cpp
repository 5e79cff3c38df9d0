#include "view/spicview.h"

#include "document/edithistory.h"
#include "document/picture.h"

void SPicView::importImage(const QImage& image)
{
    setImage(image);
    m_picture->setModified(true);
    // Undoing every edit does not bring back a saved state: there never was one.
    m_history->markStartUnsaved();
    refreshStatus();
}
