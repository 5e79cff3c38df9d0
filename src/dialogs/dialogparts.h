#pragma once

#include "view/extslider.h"

#include <QGridLayout>
#include <QPushButton>

class QDialog;
class QDialogButtonBox;
class QLayout;
class QListWidget;
class QString;

// Pieces the image dialogs share: choice lists, the Ok/Cancel box, slider rows with Reset.
namespace dialogparts {

// A list of the items of a "-"-separated text, with the given row current.
QListWidget* makeChoiceList(const QString& items, int currentRow, const QString& objectName,
                            QWidget* parent);

// Ok and Cancel wired to the dialog's accept and reject, added to the layout.
QDialogButtonBox* addOkCancel(QDialog* dialog, QLayout* layout);

// Puts label, slider and a Reset button in one grid row. The slider and button are named
// <name>Slider and <name>Reset so tests can find them.
ExtSlider* addSliderRow(QWidget* parent, QGridLayout* grid, int row, const QString& labelText,
                        const QString& resetText, int minimum, int maximum, const QString& name,
                        QPushButton** reset);

// A slider row of a live dialog: Reset first zeroes its slider, then the picture is
// recomputed; letting go of the slider recomputes too, dragging alone does not.
template <class Dialog>
ExtSlider* addLiveSliderRow(Dialog* dialog, QGridLayout* grid, int row, const QString& labelText,
                            int minimum, int maximum, const QString& name,
                            void (Dialog::*resetSlot)(), void (Dialog::*recompute)())
{
    QPushButton* reset = nullptr;
    ExtSlider* slider = addSliderRow(dialog, grid, row, labelText, Dialog::tr("Reset"), minimum,
                                     maximum, name, &reset);
    QObject::connect(reset, &QPushButton::clicked, dialog, resetSlot);
    QObject::connect(reset, &QPushButton::clicked, dialog, recompute);
    QObject::connect(slider, &ExtSlider::sliderReleased, dialog, recompute);
    QObject::connect(slider, &ExtSlider::arrows_release_signal, dialog, recompute);
    return slider;
}

} // namespace dialogparts
