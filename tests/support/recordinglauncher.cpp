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
    m_starts.append({program, arguments, workingDirectory});
    return m_succeeds;
}
