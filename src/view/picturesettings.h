#pragma once

class QString;

// The settings a picture view applies to its files: the quality it writes them at.
class PictureSettings
{
public:
    // For a picture read from sourcePath (empty for one made in memory).
    static int writeQuality(const QString& format, const QString& sourcePath);
};
