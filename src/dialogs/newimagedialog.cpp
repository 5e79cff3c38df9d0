#include "dialogs/newimagedialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/scsizechanger.h"
#include "dialogs/sizeunits.h"
#include "document/clipboardimage.h"

#include <QColorDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The clipboard image's size, within what the size entry accepts, so the proposed size is the
// one shown; 256 x 256 without an image.
SCSizeChanger* makeSizeChanger(QWidget* parent)
{
    const QImage image = ClipboardImage::read();
    if (image.isNull())
        return new SCSizeChanger(256, 256, parent);
    const auto bounded = [](int length) {
        return qBound(sizeunits::kMinimumPixels, length, sizeunits::kMaximumPixels);
    };
    return new SCSizeChanger(bounded(image.width()), bounded(image.height()), parent);
}

} // namespace

NewImageDialog::NewImageDialog(QWidget* parent)
    : QDialog(parent)
    , m_sizeChanger(makeSizeChanger(this))
    , m_depthList(dialogparts::makeChoiceList(tr("1 Bit / Pixel-8 Bit / Pixel-32 Bit / Pixel"), 2,
                                              QStringLiteral("depthList"), this))
{
    setWindowTitle(tr("New"));
    setModal(true);

    auto* depthLabel = new QLabel(tr("Color depth:"), this);
    depthLabel->setBuddy(m_depthList);
    auto* fillButton = new QPushButton(tr("Choose a fill color"), this);
    fillButton->setObjectName(QStringLiteral("fillButton"));
    auto* okButton = new QPushButton(tr("&Ok"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    auto* cancelButton = new QPushButton(tr("&Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sizeChanger);
    auto* depthRow = new QHBoxLayout;
    depthRow->addWidget(depthLabel);
    depthRow->addWidget(m_depthList);
    layout->addLayout(depthRow);
    layout->addWidget(fillButton);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(okButton);
    buttonRow->addWidget(cancelButton);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);

    connect(fillButton, &QPushButton::clicked, this, &NewImageDialog::getFillColor);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

int NewImageDialog::newWidth() const
{
    return m_sizeChanger->newWidth();
}

int NewImageDialog::newHeight() const
{
    return m_sizeChanger->newHeight();
}

int NewImageDialog::depth() const
{
    switch (m_depthList->currentRow()) {
    case 0:
        return 1;
    case 1:
        return 8;
    default:
        return 32;
    }
}

void NewImageDialog::getFillColor()
{
    const QColor chosen = chooseColor(QColor::fromRgba(m_fillColor));
    if (chosen.isValid())
        m_fillColor = chosen.rgba();
}

QColor NewImageDialog::chooseColor(const QColor& initial)
{
    return QColorDialog::getColor(initial, this, QString(), QColorDialog::ShowAlphaChannel);
}
