#include "dialogs/depthconversiondialog.h"

#include "dialogs/dialogparts.h"
#include "imaging/depthconversion.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

DepthConversionDialog::DepthConversionDialog(QWidget* parent, PictureAdjustment* adjustment)
    : AdjustmentDialog(parent, adjustment)
    , m_depthList(dialogparts::makeChoiceList(tr("1 Bit / Pixel-8 Bit / Pixel-32 Bit / Pixel"), 2,
                                              QStringLiteral("depthList"), this))
    , m_ditherList(dialogparts::makeChoiceList(tr("Diffuse Dither-Ordered Dither-No Dither"), 2,
                                               QStringLiteral("ditherList"), this))
{
    setWindowTitle(tr("Color depth conversion"));
    setModal(true);

    auto* depthLabel = new QLabel(tr("Color depth:"), this);
    depthLabel->setBuddy(m_depthList);
    auto* ditherLabel = new QLabel(tr("&Dither:"), this);
    ditherLabel->setBuddy(m_ditherList);

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(depthLabel, 0, 0);
    grid->addWidget(ditherLabel, 0, 1);
    grid->addWidget(m_depthList, 1, 0);
    grid->addWidget(m_ditherList, 1, 1);
    dialogparts::addOkCancel(this, layout);

    connect(m_depthList, &QListWidget::currentRowChanged, this,
            &DepthConversionDialog::createPreview);
    connect(m_ditherList, &QListWidget::currentRowChanged, this,
            &DepthConversionDialog::createPreview);
}

void DepthConversionDialog::createPreview()
{
    const int depthRow = m_depthList->currentRow();
    const int ditherRow = m_ditherList->currentRow();
    PictureAdjustment::Pass pass;
    pass.apply = [depthRow, ditherRow](const QImage& source, double) {
        return imaging::convertDepth(source, depthRow, ditherRow);
    };
    // A dither pattern made on a reduced copy says nothing about the one on the picture.
    pass.fullResolution = int(imaging::ditherForRow(ditherRow)) != Qt::ThresholdDither;
    showPass(pass);
}
