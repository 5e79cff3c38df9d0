#pragma once

#include <QObject>

class Picture;
class QWidget;

// The questions around writing one picture: it writes with the metadata of the file the picture
// came from (asking first when only an animation's frame would be kept, warning when the write
// fails), and asks before a picture with unsaved changes is left.
class WriteQuestions : public QObject
{
    Q_OBJECT

public:
    // The answer to the question about a picture's unsaved changes, before anything is done.
    enum class Choice {
        Save,
        Discard,
        Keep,
        Cancel,
    };

    // What came of the question about the unsaved changes of a picture about to be left.
    enum class LeaveAnswer {
        Leave,
        Stay,
        // The changes were to be kept, but could not be written.
        WriteFailed,
        Cancelled,
    };

    // Questions and warnings are shown over dialogParent.
    WriteQuestions(Picture* picture, QWidget* dialogParent);

    // Writes the picture to path; sourcePath is the file its metadata is read from. False
    // (after a warning) when the file could not be written, or when the user would rather keep
    // an animation than write only its frame.
    bool writeFile(const QString& path, const QString& format, const QString& sourcePath);
    // Asks about the changes, saving them to path when the user says so.
    LeaveAnswer askBeforeLeaving(const QString& path, const QString& name);
    // Only the question: a picture that cannot be saved over path offers to be discarded or
    // kept open, any other to be saved, discarded or the whole leaving cancelled. Each button
    // says what it does, so a key pressed out of habit does not discard.
    Choice askAboutChanges(const QString& path, const QString& name) const;
    // Writes the changes over path in the picture's format, as the answer Save does. False
    // (after a warning) when they could not be written.
    bool saveChanges(const QString& path);

    // Whether two paths name the same file, links followed.
    static bool samePicture(const QString& a, const QString& b);

signals:
    void message(const QString& text, int milliseconds);

private:
    Picture* m_picture;
    QWidget* m_dialogParent;
};
