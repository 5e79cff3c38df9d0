#pragma once

#include <QImage>

#include <functional>

class AdjustmentDialog;
class PictureAdjustment;
class QWidget;

// Where the picture view finds its adjustment dialogs. The dialogs live in a layer above the
// view, so they register a factory for each kind at start-up and the view only asks for one.
class AdjustmentDialogs
{
public:
    enum class Kind { Rotate, ColorBalance, Depth, HueSaturation, BrightnessContrast, Resize, Insert };

    // The insert dialog also takes the picture to insert; the others ignore it.
    using Factory = std::function<AdjustmentDialog*(QWidget* parent, PictureAdjustment* adjustment,
                                                    const QImage& insert)>;

    static void setFactory(Kind kind, Factory factory);
    // Empty while nothing is registered for the kind.
    static Factory factory(Kind kind);
    // None while nothing is registered for the kind.
    static AdjustmentDialog* create(Kind kind, QWidget* parent, PictureAdjustment* adjustment,
                                    const QImage& insert = QImage());
};
