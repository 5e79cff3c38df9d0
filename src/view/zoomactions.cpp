#include "view/zoomactions.h"

#include "view/spicview.h"
#include "view/zoommodel.h"

#include <QAction>
#include <QIcon>

namespace {

QKeySequence key(int modifiers, Qt::Key key)
{
    return QKeySequence(modifiers + key);
}

} // namespace

ZoomActions::ZoomActions(QObject* parent)
    : QActionGroup(parent),
      m_zoomInAction(createAction(tr("Zoom In 5%"), nullptr,
                                  {key(0, Qt::Key_Equal), key(0, Qt::Key_Plus)},
                                  &ZoomActions::zoomInSlot)),
      // Not Shift+=: that is how a US keyboard types +, which Qt then offers as both, and with
      // two actions behind them it triggers neither. Shift++ is the keypad's plus.
      m_zoomInInAction(createAction(tr("Zoom In 20%"), nullptr, {key(Qt::SHIFT, Qt::Key_Plus)},
                                    &ZoomActions::zoomInInSlot)),
      m_zoomInInInAction(createAction(tr("Zoom In 50%"), "zoom-in",
                                      {key(Qt::CTRL, Qt::Key_Equal), key(Qt::CTRL, Qt::Key_Plus)},
                                      &ZoomActions::zoomInInInSlot)),
      m_zoomOutAction(createAction(tr("Zoom Out 5%"), nullptr, {key(0, Qt::Key_Minus)},
                                   &ZoomActions::zoomOutSlot)),
      m_zoomOutOutAction(createAction(tr("Zoom Out 20%"), nullptr, {key(Qt::SHIFT, Qt::Key_Minus)},
                                      &ZoomActions::zoomOutOutSlot)),
      m_zoomOutOutOutAction(createAction(tr("Zoom Out 50%"), "zoom-out",
                                         {key(Qt::CTRL, Qt::Key_Minus)},
                                         &ZoomActions::zoomOutOutOutSlot)),
      m_trueSizeAction(nullptr), m_fitAction(nullptr)
{
    // Holding a key keeps stepping; the other actions repeat by QAction's default.
    m_zoomInAction->setAutoRepeat(true);
    m_zoomOutAction->setAutoRepeat(true);

    (new QAction(this))->setSeparator(true);

    m_trueSizeAction = createAction(tr("True size"), "zoom-original", {key(Qt::CTRL, Qt::Key_T)},
                                    &ZoomActions::trueSizeSlot);
    m_fitAction = createAction(tr("Insert to window"), "zoom-fit-best", {key(Qt::CTRL, Qt::Key_H)},
                               &ZoomActions::fitForHeightSlot);
}

QAction* ZoomActions::createAction(const QString& text, const char* iconName,
                                   const QList<QKeySequence>& shortcuts,
                                   void (ZoomActions::*slot)())
{
    auto* action = new QAction(text, this);
    if (iconName)
        action->setIcon(QIcon::fromTheme(QLatin1String(iconName), QIcon()));
    action->setShortcuts(shortcuts);
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void ZoomActions::setPicView(SPicView* view)
{
    if (view == m_picView)
        return;
    if (m_picView)
        disconnect(m_picView, nullptr, this, nullptr);
    m_picView = view;
    if (view)
        connect(view, &SPicView::actionStateChanged, this, &ZoomActions::updateActions);
    updateActions();
}

void ZoomActions::updateActions()
{
    setEnabled(
        ActionRules::enables(m_picView ? m_picView->actionState() : ActionRules::State{}).zoom);
}

void ZoomActions::zoomBy(double factor)
{
    // The view clamps the scale and switches itself to manual zoom.
    if (m_picView)
        m_picView->zoomBy(factor);
}

void ZoomActions::setMode(int mode)
{
    if (!m_picView)
        return;
    m_picView->setCurrentZoomMode(mode);
    m_picView->zoom();
    m_picView->setZoomMode(mode);
}

void ZoomActions::zoomInSlot()
{
    zoomBy(1.05);
}

void ZoomActions::zoomInInSlot()
{
    zoomBy(1.2);
}

void ZoomActions::zoomInInInSlot()
{
    zoomBy(1.5);
}

void ZoomActions::zoomOutSlot()
{
    zoomBy(1.0 / 1.05);
}

void ZoomActions::zoomOutOutSlot()
{
    zoomBy(1.0 / 1.2);
}

void ZoomActions::zoomOutOutOutSlot()
{
    zoomBy(1.0 / 1.5);
}

void ZoomActions::trueSizeSlot()
{
    setMode(ZoomModel::trueSizeMode);
}

void ZoomActions::fitForHeightSlot()
{
    setMode(ZoomModel::fitMode);
}
