#pragma once

#include "document/edithistory.h"
#include "document/picture.h"
#include "document/pictureadjustment.h"
#include "document/pictureedits.h"

#include <memory>

// A picture with its history under one adjustment, without a view: what a dialog or a pass is
// tested on.
struct AdjustedPicture {
    explicit AdjustedPicture(const QImage& source);
    QImage shown() const { return picture.shownImage(); }

    Picture picture;
    EditHistory history;
    PictureEdits edits;
    std::unique_ptr<PictureAdjustment> adjustment;
};
