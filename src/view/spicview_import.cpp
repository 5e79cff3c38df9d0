#include "view/spicview.h"

void SPicView::importImage(const QImage& image)
{
    setImage(image);
    m_modified = true;
    // Undoing every edit does not bring back a saved state: there never was one.
    m_historyTrimmed = true;
    refreshStatus();
}
