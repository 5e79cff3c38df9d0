#include "platform/processlauncher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

namespace {

class RealProcessLauncher : public ProcessLauncher
{
public:
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override
    {
        // Arguments travel as a list: nothing is parsed by a shell.
        return QProcess::startDetached(program, arguments, workingDirectory);
    }

    int execute(const QString& program, const QStringList& arguments) override
    {
        QProcess process;
        // Nobody reads the output, so it must not fill a pipe and stall the program.
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setStandardErrorFile(QProcess::nullDevice());
        process.start(program, arguments);
        if (!process.waitForStarted(executeTimeout))
            return -2;
        if (!process.waitForFinished(executeTimeout) ||
            process.exitStatus() != QProcess::NormalExit)
            return -1;
        return process.exitCode();
    }
};

ProcessLauncher* g_installed = nullptr;

} // namespace

ProcessLauncher::~ProcessLauncher() = default;

ProcessLauncher* ProcessLauncher::current()
{
    static RealProcessLauncher real;
    return g_installed ? g_installed : &real;
}

void ProcessLauncher::install(ProcessLauncher* launcher)
{
    g_installed = launcher;
}

QString ProcessLauncher::siblingTool(const QString& name)
{
    const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
    return QFileInfo(beside).isExecutable() ? beside : name;
}
