#include "document/statustexts.h"

#include "document/picture.h"

#include <QFileInfo>

StatusTexts::StatusTexts(const Picture& picture, const QString& path,
                         const PictureStatus::WatchLimits& limits)
{
    const qint64 bytes = path.isEmpty() ? 0 : QFileInfo(path).size();
    if (picture.isBroken()) {
        m_imageInfo = picture.readFailure().isEmpty() ? PictureStatus::readErrorText()
                                                      : picture.readFailure();
        m_fileInfo = PictureStatus::fileSizeText(bytes);
        m_title = path;
        return;
    }
    // A preview tells the size and depth its result will have.
    m_imageInfo = PictureStatus::imageInfoText(picture.shownSize(), picture.shownImage().depth(),
                                               limits, &m_flagged);
    // A picture read only in part still shows; the text says what is wrong with it.
    if (!picture.readFailure().isEmpty())
        m_imageInfo += QLatin1String(" - ") + picture.readFailure();
    // A picture made in memory has no file to describe until it is written.
    const bool notSaved = picture.isModified() || picture.isUnsavedNew();
    m_fileInfo = notSaved ? PictureStatus::notSavedText()
                          : PictureStatus::fileInfoText(bytes, picture.format());
    m_title = PictureStatus::titleText(path, notSaved);
}
