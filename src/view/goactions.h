#pragma once

#include "document/actionrules.h"

#include <QActionGroup>
#include <QPointer>

class QAction;
class SPicView;

// The six navigation actions (slideshow start and stop, first, last, next, previous) that drive
// one picture view and follow its state by the action rules; beside them the stored loop choice
// of every slideshow.
class GoActions : public QActionGroup
{
    Q_OBJECT

public:
    explicit GoActions(QObject* parent = nullptr);

    QAction* startAction() const { return m_startAction; }
    QAction* stopAction() const { return m_stopAction; }
    QAction* firstAction() const { return m_firstAction; }
    QAction* lastAction() const { return m_lastAction; }
    QAction* nextAction() const { return m_nextAction; }
    QAction* previousAction() const { return m_previousAction; }
    // Checkable, not one of the group's actions: it is a choice, not a move.
    QAction* loopAction() const { return m_loopAction; }

    void setPicView(SPicView* view);
    // From the view's state, recomputed whenever the view says it changed.
    void updateActions();
    void apply(const ActionRules::GoEnables& enables);

public slots:
    void startAction_triggered();
    void stopAction_triggered();
    void firstAction_triggered();
    void lastAction_triggered();
    void nextAction_triggered();
    void previousAction_triggered();

private:
    QAction* createAction(const QString& text, const char* iconName, const QKeySequence& shortcut,
                          void (GoActions::*slot)());

    QAction* m_startAction;
    QAction* m_stopAction;
    QAction* m_firstAction;
    QAction* m_lastAction;
    QAction* m_nextAction;
    QAction* m_previousAction;
    QAction* m_loopAction;
    QPointer<SPicView> m_picView;
};
