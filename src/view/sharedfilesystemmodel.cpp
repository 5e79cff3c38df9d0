#include "view/sharedfilesystemmodel.h"

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

} // namespace

QFileSystemModel* sharedFileSystemModel()
{
    Q_ASSERT(QCoreApplication::instance()
             && QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!s_model) {
        s_model = new QFileSystemModel;
        // No name filters: the model matches every pattern as a new regular expression for each
        // file, each time it sorts, which made a big folder list several times slower. The views
        // on it pick out the image files themselves.
        s_model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
        qAddPostRoutine(deleteSharedModel);
    }
    return s_model;
}
