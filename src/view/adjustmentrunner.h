#pragma once

#include "view/adjustmentdialogs.h"
#include "view/spicview.h"

#include <QImage>

class PictureEdits;

// Runs one adjustment dialog on a picture view under the history protocol: a backup before, the
// live preview while it runs, and the edit kept on Ok or dropped on Cancel.
class AdjustmentRunner
{
public:
    AdjustmentRunner(SPicView* view, PictureEdits* edits);

    // True when the dialog was accepted.
    bool run(const SPicView::DialogFactory& createDialog, SPicView::AdjustmentOptions options);
    // Runs the registered dialog of a kind with the options that kind needs.
    bool run(AdjustmentDialogs::Kind kind, const QImage& insert = QImage());
    // A dialog is open: it writes into the picture, so the view stays on its file.
    bool isRunning() const { return m_running; }

private:
    SPicView* m_view = nullptr;
    PictureEdits* m_edits = nullptr;
    bool m_running = false;
};
