#include "browser/metainfowidget.h"

#include "document/metadatatexts.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

#include <exiv2/exiv2.hpp>

MetaInfoWidget::MetaInfoWidget(QWidget* parent)
    : QStackedWidget(parent)
    , m_table(new QTableWidget(this))
    , m_noMetaInfoLabel(new QLabel(tr("No metainfo"), this))
{
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setColumnCount(2);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height());
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_table->setHorizontalHeaderLabels({tr("Parameter"), tr("Value")});

    m_noMetaInfoLabel->setAlignment(Qt::AlignCenter);

    addWidget(m_table);
    addWidget(m_noMetaInfoLabel);
    setCurrentIndex(TablePage);
}

void MetaInfoWidget::restoreFirstColumnWidth()
{
    const int width = Settings::instance()->metaInfoWidget()->firstColumnWidth();
    if (width != 0)
        m_table->setColumnWidth(0, width);
}

void MetaInfoWidget::saveFirstColumnWidth() const
{
    Settings::instance()->metaInfoWidget()->setFirstColumnWidth(m_table->columnWidth(0));
    Settings::sync();
}

void MetaInfoWidget::setFilePath(const QString& filePath)
{
    m_table->setRowCount(0);
    // Opening a pipe would wait for a writer for ever; only regular files hold pictures.
    if (!QFileInfo(filePath).isFile())
        return;
    // A damaged or unsupported file ends the call quietly: the panel is a convenience, and rows
    // read before the failure are still worth showing.
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(filePath.toLocal8Bit().toStdString());
        if (!image.get())
            return;
        image->readMetadata();
        const Exiv2::ExifData& exif = image->exifData();
        if (exif.empty()) {
            setCurrentIndex(NoMetaInfoPage);
            return;
        }
        setCurrentIndex(TablePage);
        for (const MetadataTexts::Row& row : MetadataTexts::rows(exif))
            appendRow(row.first, row.second);
        fitLabelColumn();
    } catch (const Exiv2::AnyError&) {
    } catch (...) {
        // Exiv2 lets standard exceptions (bad_alloc, out_of_range) escape on some damaged files.
    }
}

void MetaInfoWidget::appendRow(const QString& label, const QString& value)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    // The public edit() slot ignores the edit triggers, so the cells themselves refuse editing.
    for (int column = 0; column < 2; ++column) {
        auto* item = new QTableWidgetItem(column == 0 ? label : value);
        item->setFlags(Qt::ItemIsEnabled);
        m_table->setItem(row, column, item);
    }
}

void MetaInfoWidget::fitLabelColumn()
{
    // Only widened: a width the user chose that already fits stays.
    const int chosen = m_table->columnWidth(0);
    m_table->resizeColumnToContents(0);
    if (m_table->columnWidth(0) < chosen)
        m_table->setColumnWidth(0, chosen);
}
