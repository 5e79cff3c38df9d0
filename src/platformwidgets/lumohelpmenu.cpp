#include "platformwidgets/lumohelpmenu.h"

#include "platform/lumoinit.h"
#include "platformwidgets/prompter.h"

#include <QApplication>
#include <QIcon>
#include <QTextDocument>

LumoHelpMenu::LumoHelpMenu(QWidget* parent)
    : QMenu(tr("&Help"), parent)
    , m_about(addAction(QIcon::fromTheme(QStringLiteral("help-about")), tr("About lumo-image")))
    , m_aboutQt(addAction(tr("About Qt")))
{
    m_about->setMenuRole(QAction::AboutRole);
    m_aboutQt->setMenuRole(QAction::AboutQtRole);
    connect(m_about, &QAction::triggered, this, &LumoHelpMenu::showAbout);
    connect(m_aboutQt, &QAction::triggered, qApp, &QApplication::aboutQt);
}

QString LumoHelpMenu::aboutText()
{
    const QString name = QCoreApplication::applicationName().toHtmlEscaped();
    const QString version = QCoreApplication::applicationVersion().toHtmlEscaped();
    QString text = QStringLiteral("<h3>%1 %2</h3>").arg(name, version);
    const QString description = lumoApplicationDescription();
    // Line by line and with its indents, as the description is written.
    if (!description.isEmpty())
        text += Qt::convertFromPlainText(description, Qt::WhiteSpacePre);
    return text;
}

void LumoHelpMenu::showAbout()
{
    Prompter::information(parentWidget(), tr("About lumo-image"), aboutText());
}
