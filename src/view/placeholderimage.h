#pragma once

class QImage;

// Shown for a file that cannot be read; drawn by hand when the icon theme has no such icon.
QImage placeholderImage();
