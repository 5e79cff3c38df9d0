#pragma once

#include <QMetaType>

// The handle of a selection that was clicked; the values travel through SMark::clicked.
enum class SEditReg {
    TopLeft = 0,
    Left = 1,
    BottomLeft = 2,
    Bottom = 3,
    BottomRight = 4,
    Right = 5,
    TopRight = 6,
    Top = 7
};

// Where the selection interaction stands; edit operations treat Selected as "a selection exists".
enum class MarkMode {
    None = 0,
    Drawing = 1,
    Selected = 2,
    SizingHorizontal = 3,
    SizingVertical = 4,
    Moving = 5
};

Q_DECLARE_METATYPE(SEditReg)
Q_DECLARE_METATYPE(MarkMode)
