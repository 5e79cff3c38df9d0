#pragma once

#include <QCoreApplication>
#include <QString>

class QRect;
class QSize;

// The status texts a picture view publishes, computed from plain values so they can be checked
// without a window.
class PictureStatus
{
    Q_DECLARE_TR_FUNCTIONS(SPicView)

public:
    // The optional size limits the user watches; a value counts only while its flag is on.
    struct WatchLimits
    {
        bool widthMin = false;
        bool widthMax = false;
        bool heightMin = false;
        bool heightMax = false;
        int widthMinValue = 100;
        int widthMaxValue = 100;
        int heightMinValue = 100;
        int heightMaxValue = 100;
    };

    // "w X h X depth (ratio)", with "!" before a size under its minimum and after one over
    // its maximum; *flagged tells whether any "!" was added.
    static QString imageInfoText(const QSize& size, int depth, const WatchLimits& limits,
                                 bool* flagged = nullptr);
    // Empty for a list of one, since there is nowhere to go.
    static QString browseText(int row, int rowCount);
    static QString markText(const QRect& selection);
    static QString zoomText(double scale);
    static QString fileSizeText(qint64 bytes);
    static QString fileInfoText(qint64 bytes, const QString& format);
    static QString notSavedText();
    // Told while a file is read.
    static QString loadingText();
    // The file's path, marked while the picture differs from it; a picture without a file is
    // just not saved.
    static QString titleText(const QString& path, bool notSaved);
    static QString readErrorText();
};
