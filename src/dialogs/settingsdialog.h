#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class RecentFiles;
class QSpinBox;

// Edits the image window's undo depth, recent-files list, saving quality, zoom modes and
// slideshow, and clears that list. The image window's settingsDlg slot constructs it with the list
// and itself as parent and runs exec().
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit SettingsDialog(RecentFiles* recentFiles, QWidget* parent = nullptr);

public slots:
    // Ok: stores the controls and flushes; the quality settings and zoom modes only when
    // changed.
    void slotAccept();
    // Forgets the recent files and the last directory at once; Cancel does not bring them back.
    void clearLast();

private:
    RecentFiles* m_recentFiles;
    QSpinBox* m_undoSpinBox;
    QCheckBox* m_showLastFilesCheckBox;
    QSpinBox* m_lastNSpinBox;
    QSpinBox* m_jpegQualitySpinBox;
    QSpinBox* m_pngCompressionSpinBox;
    QSpinBox* m_webpQualitySpinBox;
    QComboBox* m_windowZoomComboBox;
    QComboBox* m_fullscreenZoomComboBox;
    QSpinBox* m_slideDelaySpinBox;
    QCheckBox* m_slideLoopCheckBox;
    int m_shownJpegQuality = 0;
    int m_shownPngCompression = 0;
    int m_shownWebpQuality = 0;
};
