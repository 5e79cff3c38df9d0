#include "imagewindow/imageopener.h"

#include "document/imageformats.h"
#include "platform/lumofm/vfs.h"
#include "platformwidgets/filedialogs.h"
#include "settings/settings.h"

QString ImageOpener::filterString(const ImageFormats& formats)
{
    QStringList filters{formats.allImagesFilter(), tr("All Files (*)")};
    filters += formats.readFilters();
    return filters.join(QLatin1String(";;"));
}

QString ImageOpener::startDirectory()
{
    return LumoFM::VFS::ptr()->entry(Settings::instance()->general()->lastDir()).localPath();
}

QStringList ImageOpener::chooseFiles(QWidget* parent)
{
    return FileDialogs::current()->openFileNames(parent, QString(), startDirectory(),
                                                 filterString(*ImageFormats::instance()));
}
