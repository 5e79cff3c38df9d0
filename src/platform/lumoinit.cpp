#include "platform/lumoinit.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

QString& registeredDescription()
{
    static QString description;
    return description;
}

bool themeInstalled(const QString& name)
{
    const QStringList searchPaths = QIcon::themeSearchPaths();
    for (const QString& base : searchPaths) {
        if (QFileInfo::exists(base + QLatin1Char('/') + name + QStringLiteral("/index.theme")))
            return true;
    }
    return false;
}

void loadTranslator(const QString& fileName, const QString& directory)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(), fileName, QStringLiteral("_"), directory))
        return;
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(QCoreApplication::instance());
}

} // namespace

void lumoInit(const QString& version, const QString& description)
{
    QCoreApplication::setOrganizationName(QStringLiteral("lumo"));
    QCoreApplication::setApplicationName(QStringLiteral("lumo-image"));
    QCoreApplication::setApplicationVersion(version);
    QGuiApplication::setApplicationDisplayName(QStringLiteral("lumo-image"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lumo.Image"));
    registeredDescription() = description;

    loadTranslator(QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    loadTranslator(QStringLiteral("lumo-image"), lumoTranslationsDir());
    lumoEnsureIconTheme();
}

QString lumoApplicationDescription()
{
    return registeredDescription();
}

QString lumoTranslationsDir()
{
    // Installed layout: <prefix>/bin/lumo-image and <prefix>/share/lumo-image/translations.
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/../share/lumo-image/translations"));
    if (QFileInfo(installed).isDir())
        return installed;
#ifdef LUMO_TRANSLATIONS_BUILD_DIR
    return QStringLiteral(LUMO_TRANSLATIONS_BUILD_DIR);
#else
    return installed;
#endif
}

void lumoEnsureIconTheme()
{
    const QString current = QIcon::themeName();
    if (!current.isEmpty() && current != QLatin1String("hicolor") && themeInstalled(current))
        return;
    const QStringList preferred = {QStringLiteral("Adwaita"), QStringLiteral("breeze"),
                                   QStringLiteral("gnome"), QStringLiteral("oxygen")};
    for (const QString& name : preferred) {
        if (themeInstalled(name)) {
            QIcon::setThemeName(name);
            return;
        }
    }
}
