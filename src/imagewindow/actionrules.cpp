#include "imagewindow/actionrules.h"

#include <QtGlobal>

#include <algorithm>

namespace ActionRules {

Enables enables(const State& state)
{
    Enables result;
    result.pasteAsNew = state.clipboardHasImage;
    if (!state.hasView)
        return result;
    const bool readable = !state.broken;
    result.delayBox = true;
    result.fullScreen = readable;
    result.wallpaper = state.hasFilePath;
    if (state.slideshowRunning)
        return result;
    result.editGroup = readable;
    result.undo = readable && state.undoAvailable;
    result.redo = readable && state.redoAvailable;
    result.paste = readable && state.clipboardHasImage;
    result.save = readable && state.saveable;
    result.saveAs = readable;
    result.print = readable;
    result.remove = state.hasFilePath;
    result.imageDialogs = readable;
    result.reorient = readable;
    result.crop = readable && state.marked;
    return result;
}

bool arrangementEnabled(bool hasView, bool singleWindowMode, bool tabbed)
{
    return hasView && !singleWindowMode && !tabbed;
}

QSize placedViewSize(const QSize& canvasHint, const QSize& workspace)
{
    const int margin = 20;
    return QSize(std::min(canvasHint.width() + margin, qRound(0.75 * workspace.width())),
                 std::min(canvasHint.height() + margin, qRound(0.75 * workspace.height())));
}

} // namespace ActionRules
