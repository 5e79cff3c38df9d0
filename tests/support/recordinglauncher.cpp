#include "support/recordinglauncher.h"

RecordingLauncher::RecordingLauncher()
{
    ProcessLauncher::install(this);
}

RecordingLauncher::~RecordingLauncher()
{
    ProcessLauncher::install(nullptr);
}

bool RecordingLauncher::startDetached(const QString& program, const QStringList& arguments,
                                      const QString& workingDirectory)
{
    m_starts.append({program, arguments, workingDirectory, false});
    return true;
}

int RecordingLauncher::execute(const QString& program, const QStringList& arguments)
{
    m_starts.append({program, arguments, QString(), true});
    return 0;
}
