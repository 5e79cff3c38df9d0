#include "dialogs/dialogparts.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QSlider>

namespace dialogparts {

QListWidget* makeChoiceList(const QString& items, int currentRow, const QString& objectName,
                            QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(objectName);
    list->addItems(items.split(QLatin1Char('-')));
    list->setCurrentRow(currentRow);
    return list;
}

QDialogButtonBox* addOkCancel(QDialog* dialog, QLayout* layout)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(box);
    return box;
}

ExtSlider* addSliderRow(QWidget* parent, QGridLayout* grid, int row, const QString& labelText,
                        int minimum, int maximum, const QString& name, QPushButton** reset)
{
    auto* slider = new ExtSlider(minimum, maximum, 1, 0, parent);
    slider->setObjectName(name + QLatin1String("Slider"));
    auto* label = new QLabel(labelText, parent);
    label->setBuddy(slider);
    auto* value = new QLabel(QString::number(slider->value()), parent);
    value->setObjectName(name + QLatin1String("Value"));
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // As wide as the widest value, so the slider does not jump while it moves.
    const QFontMetrics metrics = value->fontMetrics();
    value->setMinimumWidth(qMax(metrics.horizontalAdvance(QString::number(minimum)),
                                metrics.horizontalAdvance(QString::number(maximum))));
    // A dragged handle changes the slider's value only when let go; its place shows at once.
    QObject::connect(slider->slider(), &QSlider::sliderMoved, value,
                     QOverload<int>::of(&QLabel::setNum));
    QObject::connect(slider, &ExtSlider::valueChanged, value, QOverload<int>::of(&QLabel::setNum));
    // One context for every dialog, since the text is the same in each.
    *reset = new QPushButton(QCoreApplication::translate("dialogparts", "Reset"), parent);
    (*reset)->setObjectName(name + QLatin1String("Reset"));
    grid->addWidget(label, row, 0);
    grid->addWidget(slider, row, 1);
    grid->addWidget(value, row, 2);
    grid->addWidget(*reset, row, 3);
    return slider;
}

PictureAdjustment::Pass colourPass(bool (*recolour)(const QImage&, QImage&, int, int, int),
                                   int first, int second, int third)
{
    PictureAdjustment::Pass pass;
    pass.apply = [recolour, first, second, third](const QImage& source, double) {
        QImage result;
        return recolour(source, result, first, second, third) ? result : QImage();
    };
    return pass;
}

} // namespace dialogparts
