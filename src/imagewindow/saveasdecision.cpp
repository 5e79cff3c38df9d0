#include "imagewindow/saveasdecision.h"

#include "document/imageformats.h"

#include <QFileInfo>

#include <algorithm>

int SaveAsDecision::suffixDot(const QString& path)
{
    const int dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > path.lastIndexOf(QLatin1Char('/')) ? dot : -1;
}

SaveAsDecision::Proposal SaveAsDecision::propose(const QString& picturePath,
                                                 const ImageFormats& formats,
                                                 const QStringList& newPictureFolders)
{
    if (picturePath.isEmpty()) {
        // The dialog's first filter is merely the first format in the alphabet.
        Proposal proposal{QString(), ImageFormats::formatFilter(QStringLiteral("png")), QString()};
        const auto folder =
            std::find_if(newPictureFolders.cbegin(), newPictureFolders.cend(),
                         [](const QString& candidate) { return QFileInfo(candidate).isDir(); });
        if (folder != newPictureFolders.cend())
            proposal.directory = *folder;
        return proposal;
    }
    const int dot = suffixDot(picturePath);
    if (dot < 0)
        return {picturePath, QString(), QString()};
    const QString suffix = picturePath.mid(dot + 1).toLower();
    if (formats.canWrite(suffix))
        return {picturePath, ImageFormats::formatFilter(suffix), QString()};
    return {picturePath.left(dot), ImageFormats::formatFilter(QStringLiteral("jpg")), QString()};
}

SaveAsDecision::SaveAsDecision(const QString& typedPath, const QString& chosenFilter,
                               const ImageFormats& formats)
{
    const int dot = suffixDot(typedPath);
    if (dot < 0) {
        const QString filterFormat = chosenFilter.section(QLatin1Char(' '), 0, 0);
        m_suffix = filterFormat.toLower();
        if (filterFormat.isEmpty() || !formats.canWrite(filterFormat))
            return;
        m_outcome = Outcome::Write;
        m_path = typedPath + QLatin1Char('.') + filterFormat.toLower();
        m_format = filterFormat;
        m_suffixAdded = true;
        return;
    }
    m_suffix = typedPath.mid(dot + 1).toLower();
    if (!formats.canWrite(m_suffix))
        return;
    m_outcome = Outcome::Write;
    m_path = typedPath;
    m_format = m_suffix.toUpper();
}
