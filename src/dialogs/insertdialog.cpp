#include "dialogs/insertdialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/scsizechanger.h"
#include "imaging/canvasinsert.h"

#include <QCheckBox>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QSpinBox* makePositionBox(const QString& objectName, QWidget* parent)
{
    auto* spinBox = new QSpinBox(parent);
    spinBox->setObjectName(objectName);
    spinBox->setSingleStep(1);
    spinBox->setSuffix(QLatin1Char(' ') + InsertDialog::tr("pixel"));
    return spinBox;
}

} // namespace

InsertDialog::InsertDialog(QWidget* parent, PictureAdjustment* adjustment, const QImage& insert)
    : AdjustmentDialog(parent, adjustment)
    , m_insertImage(insert)
    , m_xSpinBox(makePositionBox(QStringLiteral("xSpinBox"), this))
    , m_ySpinBox(makePositionBox(QStringLiteral("ySpinBox"), this))
    , m_sizeChanger(new SCSizeChanger(insert.width(), insert.height(), this))
    , m_enlargeBox(new QCheckBox(tr("Enlarge image if needed"), this))
{
    setWindowTitle(tr("Insert"));
    setModal(true);
    setWindowModality(Qt::ApplicationModal);
    m_enlargeBox->setObjectName(QStringLiteral("enlargeBox"));
    m_enlargeBox->setChecked(true);

    auto* xLabel = new QLabel(QStringLiteral("&X:"), this);
    xLabel->setBuddy(m_xSpinBox);
    auto* yLabel = new QLabel(QStringLiteral("&Y:"), this);
    yLabel->setBuddy(m_ySpinBox);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(xLabel, 0, 0);
    grid->addWidget(m_xSpinBox, 0, 1);
    grid->addWidget(yLabel, 1, 0);
    grid->addWidget(m_ySpinBox, 1, 1);
    grid->addWidget(m_sizeChanger, 2, 0, 1, 2);
    grid->addWidget(m_enlargeBox, 4, 0, 1, 2);
    dialogparts::addOkCancel(this, layout);

    connect(m_xSpinBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &InsertDialog::createPreview);
    connect(m_ySpinBox, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &InsertDialog::createPreview);
    connect(m_sizeChanger, &SCSizeChanger::sizeChanged, this, &InsertDialog::createPreview);
    connect(m_enlargeBox, &QCheckBox::clicked, this, &InsertDialog::createPreview);

    createPreview();
}

void InsertDialog::createPreview()
{
    const int width = m_sizeChanger->newWidth();
    const int height = m_sizeChanger->newHeight();
    {
        // A clamp here is part of this recomputation, not a new one.
        const QSignalBlocker blockX(m_xSpinBox);
        const QSignalBlocker blockY(m_ySpinBox);
        m_xSpinBox->setRange(0, imaging::maximumInsertPosition(width));
        m_ySpinBox->setRange(0, imaging::maximumInsertPosition(height));
    }
    const QRect placement(m_xSpinBox->value(), m_ySpinBox->value(), width, height);
    const bool enlarge = m_enlargeBox->isChecked();
    PictureAdjustment::Pass pass;
    pass.apply = [insert = m_insertImage, placement, enlarge](const QImage& source, double) {
        return imaging::insertImage(source, insert, placement, enlarge);
    };
    // The inserted picture is shown in its own pixels, where it will go.
    pass.fullResolution = true;
    showPass(pass);
}
