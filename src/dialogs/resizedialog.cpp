#include "dialogs/resizedialog.h"

#include "dialogs/dialogparts.h"
#include "dialogs/scsizechanger.h"
#include "imaging/canvasresize.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

ResizeDialog::ResizeDialog(QWidget* parent, PictureAdjustment* adjustment)
    : AdjustmentDialog(parent, adjustment)
    , m_sizeChanger(new SCSizeChanger(adjustment->source().width(),
                                      adjustment->source().height(), this))
    , m_stretchBox(new QCheckBox(tr("Stretch image"), this))
    , m_verticalList(dialogparts::makeChoiceList(tr("Top-Center-Bottom"), 0,
                                                 QStringLiteral("verticalList"), this))
    , m_horizontalList(dialogparts::makeChoiceList(tr("Left-Center-Right"), 0,
                                                   QStringLiteral("horizontalList"), this))
{
    setWindowTitle(tr("Resize"));
    setModal(true);
    m_stretchBox->setObjectName(QStringLiteral("stretchBox"));

    auto* verticalLabel = new QLabel(tr("&Vertical Alignment:"), this);
    verticalLabel->setBuddy(m_verticalList);
    auto* horizontalLabel = new QLabel(tr("H&orizontal Alignment:"), this);
    horizontalLabel->setBuddy(m_horizontalList);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_sizeChanger);
    layout->addWidget(m_stretchBox);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    grid->addWidget(verticalLabel, 0, 0);
    grid->addWidget(horizontalLabel, 0, 1);
    grid->addWidget(m_verticalList, 1, 0);
    grid->addWidget(m_horizontalList, 1, 1);
    dialogparts::addOkCancel(this, layout);

    connect(m_sizeChanger, &SCSizeChanger::sizeChanged, this, &ResizeDialog::createPreview);
    connect(m_stretchBox, &QCheckBox::clicked, this, &ResizeDialog::createPreview);
    connect(m_verticalList, &QListWidget::currentRowChanged, this, &ResizeDialog::createPreview);
    connect(m_horizontalList, &QListWidget::currentRowChanged, this,
            &ResizeDialog::createPreview);
    // Stretching ignores the alignment.
    for (QWidget* widget : {static_cast<QWidget*>(verticalLabel),
                            static_cast<QWidget*>(horizontalLabel),
                            static_cast<QWidget*>(m_verticalList),
                            static_cast<QWidget*>(m_horizontalList)})
        connect(m_stretchBox, &QCheckBox::toggled, widget, &QWidget::setDisabled);
}

void ResizeDialog::createPreview()
{
    const QSize size(m_sizeChanger->newWidth(), m_sizeChanger->newHeight());
    const bool stretch = m_stretchBox->isChecked();
    const imaging::Alignment horizontal = imaging::alignmentForRow(m_horizontalList->currentRow());
    const imaging::Alignment vertical = imaging::alignmentForRow(m_verticalList->currentRow());
    PictureAdjustment::Pass pass;
    pass.apply = [size, stretch, horizontal, vertical](const QImage& source, double scale) {
        const QSize scaled = scale == 1.0 ? size
                                          : QSize(std::max(1, qRound(size.width() * scale)),
                                                  std::max(1, qRound(size.height() * scale)));
        return stretch ? imaging::stretched(source, scaled)
                       : imaging::cutOrExtend(source, scaled, horizontal, vertical);
    };
    pass.resultSize = [size](const QSize& pictureSize) {
        return imaging::boundedSize(size, pictureSize);
    };
    showPass(pass);
}
