#include "fullscreen/genericfullscreenpanel.h"

#include <QEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

GenericFullscreenPanel::GenericFullscreenPanel(QWidget* parent)
    : QFrame(parent)
    , m_timeLine(new QTimeLine(kSlideDurationMs, this))
    , m_layout(new QVBoxLayout)
    , m_owner(parent)
    , m_hadOwner(parent != nullptr)
{
    if (parent) {
        // Plain pointer moves, without a button held, must reach the filter.
        parent->setMouseTracking(true);
        parent->installEventFilter(this);
    }
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    m_layout->setContentsMargins(0, 0, 0, 0);
    setLayout(m_layout);
    connect(m_timeLine, &QTimeLine::frameChanged, this, &GenericFullscreenPanel::movePanel);
    connect(m_timeLine, &QTimeLine::stateChanged, this,
            &GenericFullscreenPanel::timeLineStateChanged);
}

GenericFullscreenPanel::~GenericFullscreenPanel()
{
    // The time line is destroyed with the QWidget part; a running one stops then and its last
    // state change must not reach a panel that no longer exists.
    m_timeLine->disconnect(this);
}

void GenericFullscreenPanel::setWidget(QWidget* widget)
{
    m_widget = widget;
    if (!widget)
        return;
    widget->setParent(this);
    m_layout->addWidget(widget);
    adjustSize();
    if (parentWidget())
        resize(parentWidget()->width(), height());
    move(0, -height());
}

void GenericFullscreenPanel::setParentWidget(QWidget* parent)
{
    if (QWidget* old = parentWidget()) {
        m_timeLine->stop();
        old->removeEventFilter(this);
    }
    if (!parent) {
        // Detached panels wait, hidden and reset, with whoever made them.
        setParent(m_owner);
        hide();
        m_timeLine->setCurrentTime(0);
        return;
    }
    setParent(parent);
    parent->installEventFilter(this);
    parent->setMouseTracking(true);
    move(0, -height());
    show();
    // Above the parent's viewport and scroll bars, whenever those were made.
    raise();
}

void GenericFullscreenPanel::setTabletMode(bool tabletMode)
{
    m_tabletMode = tabletMode;
}

bool GenericFullscreenPanel::isPanelShown() const
{
    const QTimeLine::State state = m_timeLine->state();
    if (state == QTimeLine::Running)
        return m_timeLine->direction() == QTimeLine::Forward;
    return state == QTimeLine::NotRunning && m_timeLine->endFrame() != 0
           && m_timeLine->currentFrame() == m_timeLine->endFrame();
}

bool GenericFullscreenPanel::isPanelHidden() const
{
    const QTimeLine::State state = m_timeLine->state();
    if (state == QTimeLine::Running)
        return m_timeLine->direction() == QTimeLine::Backward;
    return state == QTimeLine::NotRunning
           && m_timeLine->currentFrame() == m_timeLine->startFrame();
}

void GenericFullscreenPanel::slideIn()
{
    adjustSize();
    if (parentWidget())
        resize(parentWidget()->width(), height());
    m_timeLine->setFrameRange(0, height());
    if (isPanelShown())
        return;
    m_timeLine->stop();
    m_timeLine->setDirection(QTimeLine::Forward);
    m_timeLine->start();
}

void GenericFullscreenPanel::slideOut()
{
    m_timeLine->setFrameRange(0, height());
    if (isPanelHidden())
        return;
    m_timeLine->stop();
    m_timeLine->setDirection(QTimeLine::Backward);
    m_timeLine->start();
}

void GenericFullscreenPanel::toggleVisibility()
{
    if (isPanelShown())
        slideOut();
    else if (isPanelHidden())
        slideIn();
}

void GenericFullscreenPanel::movePanel(int frame)
{
    move(0, frame - height());
}

void GenericFullscreenPanel::delayedInstallEventFilter()
{
    if (parentWidget())
        parentWidget()->installEventFilter(this);
}

void GenericFullscreenPanel::timeLineStateChanged(QTimeLine::State state)
{
    // In tablet mode pointer moves were ignored while the panel slid in; now they count again.
    if (state == QTimeLine::NotRunning && m_timeLine->direction() == QTimeLine::Forward
        && m_tabletMode && parentWidget())
        parentWidget()->setMouseTracking(true);
}

bool GenericFullscreenPanel::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* parent = parentWidget();
    if (watched != parent || event->type() != QEvent::MouseMove)
        return QFrame::eventFilter(watched, event);
    const int y = qRound(static_cast<QMouseEvent*>(event)->localPos().y());
    if (y <= height() - 1) {
        // Touch drags would send the panel away mid-slide; it finishes sliding in first.
        if (m_tabletMode)
            parent->setMouseTracking(false);
        slideIn();
    } else {
        slideOut();
    }
    return false;
}

void GenericFullscreenPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::StyleChange)
        adjustSize();
    QFrame::changeEvent(event);
}
