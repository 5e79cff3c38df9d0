#pragma once

class QString;

// The settings a picture view applies to its files: the quality it writes them at and the
// record of the files it read.
class PictureSettings
{
public:
    static int writeQuality(const QString& format);
    // Stores the recent-files list and the last directory at once and flushes them to disk
    // from the event loop.
    static void recordRead(const QString& path);
};
