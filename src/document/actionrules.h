#pragma once

#include <QSize>

// When the actions of a picture's windows are usable, and how big a new picture window is made:
// values only, so the rules are checked without any window.
namespace ActionRules {

// The current picture as the actions see it.
struct State
{
    bool hasView = false;
    // The file could not be read and a placeholder is shown.
    bool broken = false;
    bool slideshowRunning = false;
    bool undoAvailable = false;
    bool redoAvailable = false;
    bool clipboardHasImage = false;
    bool saveable = false;
    bool hasFilePath = false;
    // A selection mark lies on the picture, finished or being drawn.
    bool marked = false;
    // Where the picture stands in its list of files; -1 once its file left the list.
    int row = -1;
    int rowCount = 0;
    // A slideshow goes on from the last picture to the first.
    bool loop = false;
};

// The six moves through the list of files.
struct GoEnables
{
    bool start = false;
    bool stop = false;
    bool first = false;
    bool last = false;
    bool next = false;
    bool previous = false;
};

struct Enables
{
    // Copy, cut and reload follow the group; undo, redo and paste have rules of their own.
    bool editGroup = false;
    bool undo = false;
    bool redo = false;
    bool paste = false;
    bool save = false;
    bool saveAs = false;
    bool remove = false;
    bool print = false;
    bool fullScreen = false;
    bool delayBox = false;
    // The six adjustment dialogs of the Image menu.
    bool imageDialogs = false;
    bool wallpaper = false;
    // The quarter turns and mirrorings; cropping also wants a selection.
    bool reorient = false;
    bool crop = false;
    // A new picture from the clipboard needs no picture open.
    bool pasteAsNew = false;
    bool zoom = false;
    GoEnables go;
};

Enables enables(const State& state);

// Tiling, cascading and minimising mean nothing for one window or for tabs.
bool arrangementEnabled(bool hasView, bool singleWindowMode, bool tabbed);

// A new picture window fits its picture plus a margin, but takes at most three quarters of the
// workspace each way.
QSize placedViewSize(const QSize& canvasHint, const QSize& workspace);

} // namespace ActionRules
