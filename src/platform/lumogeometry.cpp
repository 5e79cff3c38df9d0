#include "platform/lumogeometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <algorithm>

namespace {

// A window is reachable when this much of it (or all of it, if smaller) shows on one screen:
// enough to grab its title bar.
constexpr int kMinimumVisibleWidth = 64;
constexpr int kMinimumVisibleHeight = 32;

bool showsEnough(const QRect& rect, const QList<QRect>& screens)
{
    const int needWidth = std::min(kMinimumVisibleWidth, rect.width());
    const int needHeight = std::min(kMinimumVisibleHeight, rect.height());
    return std::any_of(screens.cbegin(), screens.cend(), [&](const QRect& screen) {
        const QRect visible = screen.intersected(rect);
        return visible.width() >= needWidth && visible.height() >= needHeight;
    });
}

bool insideAny(const QRect& rect, const QList<QRect>& screens)
{
    return std::any_of(screens.cbegin(), screens.cend(),
                       [&](const QRect& screen) { return screen.contains(rect); });
}

QRect placedOn(QRect rect, const QRect& screen)
{
    rect.setWidth(std::min(rect.width(), screen.width()));
    rect.setHeight(std::min(rect.height(), screen.height()));
    rect.moveLeft(std::clamp(rect.left(), screen.left(), screen.right() - rect.width() + 1));
    rect.moveTop(std::clamp(rect.top(), screen.top(), screen.bottom() - rect.height() + 1));
    return rect;
}

QList<QRect> availableScreens()
{
    QList<QRect> result;
    if (const QScreen* primary = QGuiApplication::primaryScreen())
        result << primary->availableGeometry();
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            result << screen->availableGeometry();
    }
    return result;
}

} // namespace

QRect lumoGeometryToRestore(const QRect& stored, const QList<QRect>& screens,
                            const QRect& defaultRect)
{
    if (screens.isEmpty())
        return stored.isValid() ? stored : defaultRect;
    if (stored.isValid() && showsEnough(stored, screens))
        return stored;
    if (!defaultRect.isValid() || insideAny(defaultRect, screens))
        return defaultRect;
    return placedOn(defaultRect, screens.first());
}

QString lumoGeometryGroup(const QWidget* widget)
{
    const QString name = widget->objectName().isEmpty()
        ? QString::fromLatin1(widget->metaObject()->className())
        : widget->objectName();
    // "/" would open a nested group and "\" is the QSettings escape.
    QString key = name;
    key.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QStringLiteral("Geometry/") + key;
}

void lumoSaveGeometry(QWidget* widget, QSettings& settings, bool sizeOnly)
{
    if (!widget)
        return;
    const bool maximized = widget->isMaximized() || widget->isFullScreen();
    // A maximised window keeps the rectangle it had before, or it could never be made smaller.
    QRect rect = maximized ? widget->normalGeometry() : widget->geometry();
    if (!rect.isValid())
        rect = widget->geometry();
    settings.beginGroup(lumoGeometryGroup(widget));
    settings.setValue(QStringLiteral("rect"), sizeOnly ? QRect(QPoint(), rect.size()) : rect);
    settings.setValue(QStringLiteral("maximized"), widget->isMaximized());
    settings.endGroup();
}

void lumoRestoreGeometry(QWidget* widget, QSettings& settings, const QRect& defaultRect,
                         bool sizeOnly)
{
    if (!widget)
        return;
    settings.beginGroup(lumoGeometryGroup(widget));
    const QRect stored = settings.value(QStringLiteral("rect")).toRect();
    const bool maximized = settings.value(QStringLiteral("maximized"), false).toBool();
    settings.endGroup();

    if (sizeOnly) {
        const QSize size = stored.isValid() ? stored.size() : defaultRect.size();
        if (size.isValid())
            widget->resize(size);
    } else {
        const QRect rect = lumoGeometryToRestore(stored, availableScreens(), defaultRect);
        if (rect.isValid())
            widget->setGeometry(rect);
    }
    // Full screen is not brought back: the program switches it through its own action.
    if (maximized)
        widget->setWindowState(widget->windowState() | Qt::WindowMaximized);
}
