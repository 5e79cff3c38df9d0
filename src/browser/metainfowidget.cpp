#include "browser/metainfowidget.h"

#include "document/pooltask.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>

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
    // A width the user drags to is kept, within the labels' share of the panel.
    connect(m_table->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int section, int, int newSize) {
                if (section == 0 && !m_fitting)
                    m_chosenWidth = newSize;
            });

    m_noMetaInfoLabel->setAlignment(Qt::AlignCenter);

    addWidget(m_table);
    addWidget(m_noMetaInfoLabel);
    setCurrentIndex(TablePage);
}

int MetaInfoWidget::labelColumnWidth(int labels, int values, int chosen, int panel)
{
    const int wanted = qMax(labels, chosen);
    if (wanted + values <= panel)
        return wanted;
    // The values are what the user came for: cut short, labels keep at least two fifths.
    return qMax(1, qMin(wanted, qMax(panel * 2 / 5, panel - values)));
}

void MetaInfoWidget::restoreFirstColumnWidth()
{
    const int width = Settings::instance()->metaInfoWidget()->firstColumnWidth();
    if (width != 0) {
        m_chosenWidth = width;
        m_table->setColumnWidth(0, width);
    }
}

void MetaInfoWidget::saveFirstColumnWidth() const
{
    Settings::instance()->metaInfoWidget()->setFirstColumnWidth(m_table->columnWidth(0));
    Settings::sync();
}

void MetaInfoWidget::setFilePath(const QString& filePath)
{
    const QFileInfo info(filePath);
    const QDateTime modified = filePath.isEmpty() ? QDateTime() : info.lastModified();
    const qint64 size = filePath.isEmpty() ? -1 : info.size();
    if (!filePath.isEmpty() && filePath == m_filePath && modified == m_modified && size == m_size)
        return;
    m_filePath = filePath;
    m_modified = modified;
    m_size = size;
    m_table->setRowCount(0);
    const quint64 generation = ++m_generation;
    if (filePath.isEmpty()) {
        setCurrentIndex(NoMetaInfoPage);
        emit filled();
        return;
    }
    // Read off the GUI thread: a hostile file may keep its helper busy until the time limit.
    auto* watcher = new QFutureWatcher<MetadataTexts::Table>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        // A read overtaken by a later file is dropped.
        if (generation == m_generation)
            showTable(poolResult(watcher->future()));
    });
    watcher->setFuture(runInPool([filePath] { return MetadataTexts::read(filePath); }));
}

void MetaInfoWidget::showTable(const MetadataTexts::Table& table)
{
    // An unreadable file has no metadata to show either, so it looks like any other.
    if (table.rows.isEmpty()) {
        setCurrentIndex(NoMetaInfoPage);
    } else {
        setCurrentIndex(TablePage);
        for (const MetadataTexts::Row& row : table.rows)
            appendRow(row.first, row.second);
        fitLabelColumn();
    }
    emit filled();
}

void MetaInfoWidget::appendRow(const QString& label, const QString& value)
{
    const int row = m_table->rowCount();
    m_table->insertRow(row);
    // The public edit() slot ignores the edit triggers, so the cells themselves refuse editing.
    for (int column = 0; column < 2; ++column) {
        auto* item = new QTableWidgetItem(column == 0 ? label : value);
        item->setFlags(Qt::ItemIsEnabled);
        // A narrow dock cuts texts short; the whole one is a hover away.
        item->setToolTip(item->text());
        m_table->setItem(row, column, item);
    }
}

void MetaInfoWidget::fitLabelColumn()
{
    m_fitting = true;
    m_table->resizeColumnToContents(0);
    const int labels = m_table->columnWidth(0);
    // Public in the base class only.
    const int values = static_cast<const QAbstractItemView*>(m_table)->sizeHintForColumn(1);
    m_table->setColumnWidth(0, labelColumnWidth(labels, values, m_chosenWidth,
                                                m_table->viewport()->width()));
    m_fitting = false;
}

void MetaInfoWidget::resizeEvent(QResizeEvent* event)
{
    QStackedWidget::resizeEvent(event);
    if (m_table->rowCount() > 0)
        fitLabelColumn();
}
