#include "support/testicontheme.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QImage>

namespace lumotest {

bool installTestIconTheme(const QString& dir, const QStringList& iconNames)
{
    const QString theme = QStringLiteral("lumo-test");
    const QString base = dir + QLatin1Char('/') + theme;
    if (!QDir().mkpath(base + QStringLiteral("/16x16/all")))
        return false;
    QFile index(base + QStringLiteral("/index.theme"));
    if (!index.open(QIODevice::WriteOnly))
        return false;
    index.write("[Icon Theme]\nName=lumo-test\nDirectories=16x16/all\n\n"
                "[16x16/all]\nSize=16\nType=Fixed\n");
    index.close();
    for (const QString& name : iconNames) {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(QColor::fromHsv(int(qHash(name) % 360), 200, 200));
        if (!image.save(base + QStringLiteral("/16x16/all/") + name + QStringLiteral(".png")))
            return false;
    }
    QIcon::setThemeSearchPaths({dir});
    QIcon::setThemeName(theme);
    return true;
}

} // namespace lumotest
