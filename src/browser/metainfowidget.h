#pragma once

#include "document/metadatatexts.h"

#include <QStackedWidget>

class QLabel;
class QTableWidget;

// The "Metainfo" dock's content: the Exif tags of the active picture's file as a table of labels
// and values in words, or "No metainfo" when the file carries none. Files are read by a decoder
// helper, off the GUI thread.
class MetaInfoWidget : public QStackedWidget
{
    Q_OBJECT

public:
    enum Page { TablePage = 0, NoMetaInfoPage = 1 };

    explicit MetaInfoWidget(QWidget* parent = nullptr);

    void restoreFirstColumnWidth();
    void saveFirstColumnWidth() const;

    QTableWidget* table() const { return m_table; }

signals:
    // The rows of the last file set are in place.
    void filled();

public slots:
    // Read in the background; what was shown goes at once.
    void setFilePath(const QString& filePath);

private:
    void showTable(const MetadataTexts::Table& table);
    void appendRow(const QString& label, const QString& value);
    // Labels are never cut short.
    void fitLabelColumn();

    QTableWidget* m_table;
    QLabel* m_noMetaInfoLabel;
    quint64 m_generation = 0;
};
