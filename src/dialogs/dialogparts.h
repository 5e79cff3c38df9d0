#pragma once

#include "dialogs/extslider.h"
#include "document/pictureadjustment.h"

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

// Puts label, slider, the slider's value and a Reset button in one grid row. The slider, value
// and button are named <name>Slider, <name>Value and <name>Reset so tests can find them.
ExtSlider* addSliderRow(QWidget* parent, QGridLayout* grid, int row, const QString& labelText,
                        int minimum, int maximum, const QString& name, QPushButton** reset);

// The pass of a colour dialog: one of the imaging functions that write a recoloured copy of a
// source, with the dialog's three values.
PictureAdjustment::Pass colourPass(bool (*recolour)(const QImage&, QImage&, int, int, int),
                                   int first, int second, int third);

// A slider row of a live dialog: every change of the slider's value asks the dialog for a
// recomputation; Reset zeroes its slider and recomputes at once.
template <class Dialog>
ExtSlider* addLiveSliderRow(Dialog* dialog, QGridLayout* grid, int row, const QString& labelText,
                            int minimum, int maximum, const QString& name,
                            void (Dialog::*resetSlot)())
{
    QPushButton* reset = nullptr;
    ExtSlider* slider =
        addSliderRow(dialog, grid, row, labelText, minimum, maximum, name, &reset);
    QObject::connect(reset, &QPushButton::clicked, dialog, resetSlot);
    QObject::connect(reset, &QPushButton::clicked, dialog, &Dialog::recomputeNow);
    QObject::connect(slider, &ExtSlider::valueChanged, dialog, &Dialog::recomputeLater);
    return slider;
}

} // namespace dialogparts
