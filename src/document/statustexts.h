#pragma once

#include "document/picturestatus.h"

#include <QString>

class Picture;

// The status texts of one picture that depend on the picture and its file alone, worked out at
// once so a view publishes them in one go.
class StatusTexts
{
public:
    StatusTexts(const Picture& picture, const QString& path,
                const PictureStatus::WatchLimits& limits);

    QString imageInfo() const { return m_imageInfo; }
    // The size crossed a watched limit.
    bool flagged() const { return m_flagged; }
    QString fileInfo() const { return m_fileInfo; }
    QString title() const { return m_title; }

private:
    QString m_imageInfo;
    bool m_flagged = false;
    QString m_fileInfo;
    QString m_title;
};
