#include "view/goactions.h"

#include "settings/settings.h"
#include "view/spicview.h"
#include "view/viewerkeys.h"

#include <QAction>
#include <QIcon>

#include <utility>

GoActions::GoActions(QObject* parent)
    : QActionGroup(parent),
      m_startAction(createAction(tr("&Start slideshow"), "media-playback-start",
                                 QKeySequence(Qt::SHIFT + Qt::Key_S),
                                 &GoActions::startAction_triggered)),
      m_stopAction(createAction(tr("S&top slideshow"), "media-playback-stop",
                                QKeySequence(Qt::SHIFT + Qt::Key_T),
                                &GoActions::stopAction_triggered)),
      m_firstAction(createAction(tr("&First image"), "go-first",
                                 QKeySequence(Qt::SHIFT + Qt::Key_F),
                                 &GoActions::firstAction_triggered)),
      m_lastAction(createAction(tr("&Last image"), "go-last", QKeySequence(Qt::SHIFT + Qt::Key_L),
                                &GoActions::lastAction_triggered)),
      m_nextAction(createAction(tr("&Next image"), "go-next", QKeySequence(Qt::Key_Right),
                                &GoActions::nextAction_triggered)),
      m_previousAction(createAction(tr("&Previous image"), "go-previous",
                                    QKeySequence(Qt::Key_Left),
                                    &GoActions::previousAction_triggered)),
      m_loopAction(new QAction(QIcon::fromTheme(QStringLiteral("media-playlist-repeat"), QIcon()),
                               tr("L&oop slideshow"), this))
{
    using ViewerKeys::Step;
    // The menus show the first shortcut, so each action's own key stays in front.
    const std::pair<QAction*, Step> steps[] = {{m_firstAction, Step::First},
                                               {m_lastAction, Step::Last},
                                               {m_nextAction, Step::Next},
                                               {m_previousAction, Step::Previous}};
    for (const auto& step : steps)
        step.first->setShortcuts(QList<QKeySequence>{step.first->shortcut()}
                                 + ViewerKeys::keysFor(step.second));
    // Made with the group as parent, which also files it among the moves.
    removeAction(m_loopAction);
    m_loopAction->setCheckable(true);
    m_loopAction->setToolTip(tr("After the last picture the slideshow goes on from the first"));
    Settings* settings = Settings::instance();
    m_loopAction->setChecked(settings->imagesCentralWidget()->slideLoop());
    connect(m_loopAction, &QAction::toggled, this, [](bool loop) {
        Settings::instance()->imagesCentralWidget()->setSlideLoop(loop);
        Settings::sync();
    });
    connect(settings, &Settings::slideLoopChanged, m_loopAction, &QAction::setChecked);
}

QAction* GoActions::createAction(const QString& text, const char* iconName,
                                 const QKeySequence& shortcut, void (GoActions::*slot)())
{
    auto* action = new QAction(QIcon::fromTheme(QLatin1String(iconName), QIcon()), text, this);
    action->setShortcut(shortcut);
    action->setEnabled(false);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void GoActions::setPicView(SPicView* view)
{
    if (view == m_picView)
        return;
    if (m_picView)
        disconnect(m_picView, nullptr, this, nullptr);
    m_picView = view;
    if (view)
        connect(view, &SPicView::actionStateChanged, this, &GoActions::updateActions);
    updateActions();
}

void GoActions::updateActions()
{
    apply(ActionRules::enables(m_picView ? m_picView->actionState() : ActionRules::State{}).go);
}

void GoActions::apply(const ActionRules::GoEnables& enables)
{
    m_startAction->setEnabled(enables.start);
    m_stopAction->setEnabled(enables.stop);
    m_firstAction->setEnabled(enables.first);
    m_lastAction->setEnabled(enables.last);
    m_nextAction->setEnabled(enables.next);
    m_previousAction->setEnabled(enables.previous);
}

void GoActions::previousAction_triggered()
{
    if (m_picView)
        m_picView->previous();
}

void GoActions::nextAction_triggered()
{
    if (m_picView)
        m_picView->next();
}

void GoActions::firstAction_triggered()
{
    if (m_picView)
        m_picView->first();
}

void GoActions::lastAction_triggered()
{
    if (m_picView)
        m_picView->last();
}

void GoActions::startAction_triggered()
{
    if (m_picView)
        m_picView->startSlideshow();
}

void GoActions::stopAction_triggered()
{
    if (m_picView)
        m_picView->stopSlideshow();
}
