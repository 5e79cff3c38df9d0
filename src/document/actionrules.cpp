#include "document/actionrules.h"

#include <QtGlobal>

#include <algorithm>

namespace ActionRules {

namespace {

GoEnables goEnables(const State& state)
{
    GoEnables go;
    // Before the first picture and after the last there is nothing to move to: the move would
    // only read the same file again.
    go.first = go.previous = state.row > 0;
    go.next = go.last = state.row < state.rowCount - 1;
    go.stop = state.slideshowRunning;
    // At the last picture only a looping show has somewhere to go, and one picture is no loop.
    go.start = !state.slideshowRunning && (go.next || (state.loop && state.rowCount > 1));
    return go;
}

} // namespace

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
    result.go = goEnables(state);
    result.zoom = readable && !state.slideshowRunning;
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
