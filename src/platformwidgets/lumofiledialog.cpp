#include "platformwidgets/lumofiledialog.h"

LumoFileDialog::LumoFileDialog(QWidget* parent, const QString& caption, const QString& directory,
                               const QString& filter)
    : QFileDialog(parent, caption, directory, filter)
{
    // The same dialog on every desktop, so selectNameFilter and selectFile behave alike everywhere.
    setOption(QFileDialog::DontUseNativeDialog, true);
}
