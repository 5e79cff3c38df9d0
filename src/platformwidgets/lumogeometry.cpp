#include "platformwidgets/lumogeometry.h"

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

LumoGeometryDecision lumoGeometryToRestore(const QRect& stored, const QList<QRect>& screens,
                                           const QSize& defaultSize)
{
    if (stored.isValid() && (screens.isEmpty() || showsEnough(stored, screens)))
        return {stored, true};
    QSize size = defaultSize;
    if (!screens.isEmpty())
        size = size.boundedTo(screens.first().size());
    return {QRect(QPoint(), size), false};
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

void lumoRestoreGeometry(QWidget* widget, QSettings& settings, const QSize& defaultSize,
                         bool sizeOnly)
{
    if (!widget)
        return;
    settings.beginGroup(lumoGeometryGroup(widget));
    const QRect stored = settings.value(QStringLiteral("rect")).toRect();
    const bool maximized = settings.value(QStringLiteral("maximized"), false).toBool();
    settings.endGroup();

    if (sizeOnly) {
        const QSize size = stored.isValid() ? stored.size() : defaultSize;
        if (size.isValid())
            widget->resize(size);
    } else {
        const LumoGeometryDecision decision =
            lumoGeometryToRestore(stored, availableScreens(), defaultSize);
        if (decision.placed)
            widget->setGeometry(decision.rect);
        else if (decision.rect.isValid())
            widget->resize(decision.rect.size());
    }
    // Full screen is not brought back: the program switches it through its own action.
    if (maximized)
        widget->setWindowState(widget->windowState() | Qt::WindowMaximized);
}
