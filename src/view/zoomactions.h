#pragma once

#include <QActionGroup>
#include <QKeySequence>
#include <QList>
#include <QPointer>

class QAction;
class SPicView;

// The zoom actions (three steps in, three out, true size, fit) that drive one picture view;
// enabled by the action rules from the view's state.
class ZoomActions : public QActionGroup
{
    Q_OBJECT

public:
    explicit ZoomActions(QObject* parent = nullptr);

    QAction* zoomInInInAction() const { return m_zoomInInInAction; }
    QAction* zoomOutOutOutAction() const { return m_zoomOutOutOutAction; }
    QAction* trueSizeAction() const { return m_trueSizeAction; }
    QAction* fitAction() const { return m_fitAction; }

    void setPicView(SPicView* view);
    // From the view's state, recomputed whenever the view says it changed.
    void updateActions();

public slots:
    void zoomInSlot();
    void zoomInInSlot();
    void zoomInInInSlot();
    void zoomOutSlot();
    void zoomOutOutSlot();
    void zoomOutOutOutSlot();
    void trueSizeSlot();
    void fitForHeightSlot();

private:
    QAction* createAction(const QString& text, const char* iconName,
                          const QList<QKeySequence>& shortcuts, void (ZoomActions::*slot)());
    void zoomBy(double factor);
    void setMode(int mode);

    QAction* m_zoomInAction;
    QAction* m_zoomInInAction;
    QAction* m_zoomInInInAction;
    QAction* m_zoomOutAction;
    QAction* m_zoomOutOutAction;
    QAction* m_zoomOutOutOutAction;
    QAction* m_trueSizeAction;
    QAction* m_fitAction;
    QPointer<SPicView> m_picView;
};
