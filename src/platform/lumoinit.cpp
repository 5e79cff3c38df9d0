#include "platform/lumoinit.h"

#include "decoding/decoderpool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTranslator>

#include <memory>

namespace {

// QT_LOGGING_RULES="lumo.init.debug=true" shows where translations are looked for.
Q_LOGGING_CATEGORY(lcInit, "lumo.init", QtWarningMsg)

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
    const bool loaded = translator->load(QLocale(), fileName, QStringLiteral("_"), directory);
    qCDebug(lcInit) << "translations" << fileName << "in" << directory
                    << (loaded ? "loaded" : "not found");
    if (!loaded)
        return;
    QCoreApplication::installTranslator(translator.get());
    translator.release()->setParent(QCoreApplication::instance());
}

} // namespace

void lumoEnableHighDpi()
{
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
}

void lumoInit(const QString& version, const QString& description)
{
    QCoreApplication::setOrganizationName(QStringLiteral("lumo"));
    QCoreApplication::setApplicationName(QStringLiteral("lumo-image"));
    QCoreApplication::setApplicationVersion(version);
    // No display name: Qt would append it to every window title, which already begins with
    // the program's name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.lumo.Image"));
    registeredDescription() = description;

    loadTranslator(QStringLiteral("qtbase"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
    const QString translations = lumoTranslationsDir();
    qCDebug(lcInit) << "translations directory" << translations;
    loadTranslator(QStringLiteral("lumo-image"), translations);
    DecoderPool::shared().setTranslationsDir(translations);
    lumoEnsureIconTheme();
}

QString lumoApplicationDescription()
{
    return registeredDescription();
}

QString lumoTranslationsDir()
{
    return lumoTranslationsDir(QCoreApplication::applicationDirPath());
}

QString lumoTranslationsDir(const QString& programDirectory)
{
    // Installed layout: <prefix>/bin/lumo-image and <prefix>/share/lumo-image/translations.
    const QString installed = QDir::cleanPath(programDirectory
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
    // Platforms without a desktop theme (offscreen, bare X) search only Qt's resources.
    QStringList searchPaths = QIcon::themeSearchPaths();
    const QStringList dataIcons = QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    const QString userIcons = QDir::homePath() + QStringLiteral("/.icons");
    for (const QString& path : QStringList(userIcons) + dataIcons) {
        if (!searchPaths.contains(path) && QFileInfo(path).isDir())
            searchPaths.append(path);
    }
    QIcon::setThemeSearchPaths(searchPaths);

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
