#include "platform/toolcommandline.h"

#include <cstdio>

ToolCommandLine::ToolCommandLine(const QString& description)
    : m_helpOption(m_parser.addHelpOption())
    , m_versionOption(m_parser.addVersionOption())
{
    m_parser.setApplicationDescription(description);
    m_parser.addPositionalArgument(QStringLiteral("paths"), tr("Files and folders."),
                                   QStringLiteral("<paths...>"));
}

bool ToolCommandLine::parse(const QStringList& arguments)
{
    if (!m_parser.parse(arguments)) {
        usageError(m_parser.errorText());
        return false;
    }
    if (m_parser.isSet(m_helpOption))
        m_parser.showHelp();
    if (m_parser.isSet(m_versionOption))
        m_parser.showVersion();
    return true;
}

int ToolCommandLine::usageError(const QString& text)
{
    std::fprintf(stderr, "%s\n%s\n", qPrintable(text),
                 qPrintable(tr("Try --help for the options.")));
    return 2;
}
