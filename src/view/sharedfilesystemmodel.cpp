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

} // namespace

QFileSystemModel* sharedFileSystemModel()
{
    Q_ASSERT(QCoreApplication::instance()
             && QThread::currentThread() == QCoreApplication::instance()->thread());
    if (!s_model) {
        s_model = new QFileSystemModel;
        s_model->setNameFilterDisables(false);
        s_model->setFilter(QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot);
        s_model->setNameFilters(ImageFormats::instance()->readPatterns());
        qAddPostRoutine(deleteSharedModel);
    }
    return s_model;
}
