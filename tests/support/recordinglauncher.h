#pragma once

#include "platform/processlauncher.h"

#include <QList>

// Records the programs the code would start instead of starting them. Installs itself.
class RecordingLauncher : public ProcessLauncher
{
public:
    struct Start
    {
        QString program;
        QStringList arguments;
        QString workingDirectory;
        // Run with execute, waiting for the program, rather than detached.
        bool waited;
    };

    RecordingLauncher();
    ~RecordingLauncher() override;

    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory) override;
    // Answers 0, as a program that ran and succeeded.
    int execute(const QString& program, const QStringList& arguments) override;

    const QList<Start>& starts() const { return m_starts; }

private:
    QList<Start> m_starts;
};
