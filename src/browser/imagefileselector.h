#pragma once

#include <QWidget>

class ImagesDirView;
class LumoSplitter;
class QCompleter;

namespace LumoFM {
class Navigation;
class TreeWidget;
}

// The body of the file browser: the directory tree beside the image directory view.
class ImageFileSelector : public QWidget
{
    Q_OBJECT

public:
    explicit ImageFileSelector(LumoFM::Navigation* navigation, QWidget* parent = nullptr);

    QString currentFilePath() const;
    // A completer of directory paths for a location bar, owned by the tree.
    QCompleter* pathCompleter();

    void setTabletMode(bool tabletMode);
    bool tabletMode() const { return m_tabletMode; }

    LumoFM::TreeWidget* tree() const { return m_tree; }
    ImagesDirView* dirView() const { return m_dirView; }
    LumoSplitter* splitter() const { return m_splitter; }

signals:
    void imageActivated(const QString& imageFilePath);
    void imagesActivated(const QStringList& imageFilePaths);
    void currentFilePathChanged();
    void thumbnailSizeChanged(int size);

public slots:
    void setThumbnailSize(int size);
    void setIconViewMode(bool enable);

protected:
    void showEvent(QShowEvent* event) override;

private:
    LumoSplitter* m_splitter;
    LumoFM::TreeWidget* m_tree;
    ImagesDirView* m_dirView;
    bool m_tabletMode = false;
    bool m_rooted = false;
};
