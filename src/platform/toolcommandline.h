#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>

// The command line the desktop tools share: help, version, the paths, and usage errors.
class ToolCommandLine
{
    Q_DECLARE_TR_FUNCTIONS(ToolCommandLine)

public:
    explicit ToolCommandLine(const QString& description);

    QCommandLineParser& parser() { return m_parser; }
    QStringList paths() const { return m_parser.positionalArguments(); }
    bool isSet(const QCommandLineOption& option) const { return m_parser.isSet(option); }

    // --help and --version print and end the process; false once a usage error was printed.
    bool parse(const QStringList& arguments);

    // Prints the text with a hint to stderr; returns the exit code for wrong usage.
    static int usageError(const QString& text);

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_helpOption;
    QCommandLineOption m_versionOption;
};
