#pragma once

#include "document/metadatatexts.h"

#include <QDateTime>
#include <QStackedWidget>

class QLabel;
class QTableWidget;

// The "Metainfo" dock's content: the Exif tags of the active picture's file as a table of labels
// and values in words, or "No metainfo" when there are none to show. Files are read by a decoder
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

    // The label column's width: what its texts need or the user chose, whichever is wider, as
    // long as the values fit beside it; otherwise no more than the values leave, or two fifths
    // of the panel where they need more.
    static int labelColumnWidth(int labels, int values, int chosen, int panel);

signals:
    // The rows of the last file set are in place.
    void filled();

public slots:
    // Read in the background; what was shown goes at once. The same file set again unchanged
    // keeps its rows: each read costs a helper.
    void setFilePath(const QString& filePath);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTable(const MetadataTexts::Table& table);
    void appendRow(const QString& label, const QString& value);
    void fitLabelColumn();

    QTableWidget* m_table;
    QLabel* m_noMetaInfoLabel;
    quint64 m_generation = 0;
    // The file read last as it was then: set again unchanged, it is not read again.
    QString m_filePath;
    QDateTime m_modified;
    qint64 m_size = -1;
    int m_chosenWidth = 0; // restored or dragged by the user
    bool m_fitting = false;
};
