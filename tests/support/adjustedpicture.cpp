#include "support/adjustedpicture.h"

AdjustedPicture::AdjustedPicture(const QImage& source)
    : edits(&picture, &history)
{
    picture.setImage(source);
    adjustment = std::make_unique<PictureAdjustment>(&picture, &edits);
}
