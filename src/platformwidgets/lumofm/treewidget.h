#pragma once

#include "platform/lumofm/entry.h"

#include <QPointer>
#include <QSet>
#include <QTreeView>

class QCompleter;
class QFileSystemModel;
class QGestureEvent;

namespace LumoFM {

class Navigation;

// A tree of the directories below a root, kept in step with a Navigation both ways.
class TreeWidget : public QTreeView
{
    Q_OBJECT

public:
    explicit TreeWidget(Navigation* navigation, QWidget* parent = nullptr);

    void setRootEntry(const Entry& entry);
    Entry rootEntry() const { return m_root; }

    // A completer of directory paths for a location bar, a child of this tree.
    QCompleter* createPathCompleter();

    void setPinchZoomEnabled(bool on);
    void setKineticScrollingEnabled(bool on);

    // Text and icon scale that pinching changes, 1.0 at the normal size.
    double zoom() const { return m_zoom; }
    void setZoom(double zoom);

    static constexpr double minimumZoom = 0.5;
    static constexpr double maximumZoom = 3.0;

protected:
    bool viewportEvent(QEvent* event) override;

private:
    void selectEntry(const Entry& entry);
    void revealPending();
    void onDirectoryLoaded(const QString& path);
    QString shownRootPath() const;
    void onCurrentIndexChanged(const QModelIndex& index);
    bool pinch(QGestureEvent* event);

    QPointer<Navigation> m_navigation;
    QFileSystemModel* m_model;
    Entry m_root;
    // The current directory while the listings that place it are still coming in; empty once
    // it is shown for good.
    QString m_revealPath;
    QSet<QString> m_listedDirs;
    bool m_selecting = false;
    bool m_pinchZoom = false;
    bool m_kineticScrolling = false;
    double m_zoom = 1.0;
    QFont m_baseFont;
    QSize m_baseIconSize;
};

} // namespace LumoFM
