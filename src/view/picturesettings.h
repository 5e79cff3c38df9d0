#pragma once

class QString;

// The settings a picture view applies to its files: the quality it writes them at.
class PictureSettings
{
public:
    static int writeQuality(const QString& format);
};
