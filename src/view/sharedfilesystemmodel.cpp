#include "view/sharedfilesystemmodel.h"

#include "view/imageformats.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileSystemModel>
#include <QThread>

namespace {

QFileSystemModel* s_model = nullptr;

// Runs while the application object is destroyed: the model's reader thread and watcher
// must go while Qt is still there.
void deleteSharedModel()
{
    delete s_model;
    s_model = nullptr;
}

// The model builds a regular expression from every pattern anew for each file it checks, until
// one matches: with a hundred formats a big folder took many seconds to list. It matches without
// regard to case, so one pattern per format shows the same files as a pair, and the suffixes
// photos mostly have go first.
QStringList nameFilters()
{
    const QStringList formats = ImageFormats::instance()->readableFormats();
    QStringList first;
    for (const char* common : {"jpg", "jpeg", "png", "heic", "webp", "tif", "tiff", "gif", "bmp"}) {
        const QString format = QString::fromLatin1(common);
        if (formats.contains(format))
            first << QStringLiteral("*.") + format;
    }
    QStringList patterns = first;
    for (const QString& format : formats) {
        const QString pattern = QStringLiteral("*.") + format;
        if (!first.contains(pattern))
            patterns << pattern;
    }
    return patterns;
}

} // namespace

QFileSystemModel* sharedFileSystemModel()
{
    Q_ASSERT(QCoreApplication::instance()
             && QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!s_model) {
        s_model = new QFileSystemModel;
        s_model->setNameFilterDisables(false);
        // No QDir::CaseSensitive: "*.jpg" also shows B.JPG and c.Jpg.
        s_model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
        s_model->setNameFilters(nameFilters());
        qAddPostRoutine(deleteSharedModel);
    }
    return s_model;
}
