#pragma once

#include <QImage>

// The picture on the clipboard. Another program's picture comes as encoded bytes and is decoded
// by a helper like any file; telling whether there is one decodes nothing.
class ClipboardImage
{
public:
    static bool available();
    // Null when the clipboard holds no picture or it cannot be read.
    static QImage read();
};
