#pragma once

class SPicView;

// Waits until the view's picture is read (reads run in the background); true when it was
// readable. Moves, reloads and opening all start such a read.
bool waitForPicture(SPicView* view);
