#pragma once

#include <QObject>

class Picture;
class QWidget;

// Writes a picture with the metadata of the file it came from, and asks before a picture with
// unsaved changes is left.
class PictureSaver : public QObject
{
    Q_OBJECT

public:
    // What the user chose about the unsaved changes of a picture about to be left.
    enum class LeaveAnswer {
        Leave,
        Stay,
        // The changes were to be kept, but could not be written.
        WriteFailed,
        Cancelled,
    };

    // Questions and warnings are shown over dialogParent.
    PictureSaver(Picture* picture, QWidget* dialogParent);

    // Writes the picture to path; sourcePath is the file its metadata is read from. False
    // (after a warning) when the file could not be written.
    bool writeFile(const QString& path, const QString& format, const QString& sourcePath);
    // Asks about the changes, saving them to path when the user says so.
    LeaveAnswer askBeforeLeaving(const QString& path, const QString& name);

    // Whether two paths name the same file, links followed.
    static bool samePicture(const QString& a, const QString& b);

signals:
    void message(const QString& text, int milliseconds);

private:
    Picture* m_picture;
    QWidget* m_dialogParent;
};
