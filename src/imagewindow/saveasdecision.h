#pragma once

#include <QString>
#include <QStringList>

class ImageFormats;

// What Save as makes of names, without a dialog: the file and filter it proposes for a picture,
// and where and in which format a typed name with a chosen filter is written. A suffix is only
// ever looked for in the file name, never in the folders above it.
class SaveAsDecision
{
public:
    enum class Outcome
    {
        Write,
        WrongSuffix
    };

    struct Proposal
    {
        QString file;
        QString filter; // empty: the dialog's first filter stays selected
        QString directory; // where the dialog opens when it has no file to select
    };

    // The picture's own name and format when they can be written; otherwise the name without
    // its suffix and the JPG filter. A picture without a file starts as PNG in the first of
    // newPictureFolders that exists.
    static Proposal propose(const QString& picturePath, const ImageFormats& formats,
                            const QStringList& newPictureFolders);

    // A writable suffix wins over the filter; a name without one takes the filter's.
    SaveAsDecision(const QString& typedPath, const QString& chosenFilter,
                   const ImageFormats& formats);

    Outcome outcome() const { return m_outcome; }
    QString path() const { return m_path; }
    QString format() const { return m_format; }
    // The suffix typed, or the filter's format where none was; what a wrong suffix names.
    QString suffix() const { return m_suffix; }
    // The suffix was added here, so the dialog never asked about replacing this path.
    bool suffixAdded() const { return m_suffixAdded; }

    // The index of the "." that starts the file name's suffix, or -1 when it has none.
    static int suffixDot(const QString& path);

private:
    Outcome m_outcome = Outcome::WrongSuffix;
    QString m_path;
    QString m_format;
    QString m_suffix;
    bool m_suffixAdded = false;
};
