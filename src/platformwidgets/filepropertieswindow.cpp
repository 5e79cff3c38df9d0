#include "platformwidgets/filepropertieswindow.h"

#include "platform/fileproperties.h"
#include "platform/toolcommandline.h"
#include "platformwidgets/prompter.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>


FilePropertiesWindow::FilePropertiesWindow(const FileProperties& properties, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Properties of %1").arg(properties.name()));

    auto* form = new QFormLayout;
    const QList<FileProperties::Field> fields = properties.fields();
    for (FileProperties::Field field : fields) {
        auto* value = new QLabel(properties.text(field), this);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        value->setTextFormat(Qt::PlainText);
        form->addRow(FileProperties::label(field), value);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

int FilePropertiesWindow::run(const QStringList& arguments)
{
    ToolCommandLine commandLine(description());
    // The file browser always passes "-s"; paths alone are accepted the same way.
    commandLine.parser().addOption(QCommandLineOption(
        {QStringLiteral("s"), QStringLiteral("show")}, tr("Show the properties of the files.")));
    if (!commandLine.parse(arguments))
        return 2;
    if (commandLine.paths().isEmpty())
        return ToolCommandLine::usageError(tr("No files or folders given."));

    QStringList missing;
    int shown = 0;
    const QStringList paths = commandLine.paths();
    for (const QString& path : paths) {
        const FileProperties properties(path);
        if (!properties.exists()) {
            missing << QDir::toNativeSeparators(path);
            continue;
        }
        // Top-level windows of their own; each goes when the user closes it.
        auto* window = new FilePropertiesWindow(properties);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        ++shown;
    }
    if (!missing.isEmpty())
        Prompter::warning(nullptr, tr("lumo-props - Error"),
                          tr("These files do not exist:") + QStringLiteral("\n\n")
                              + missing.join(QLatin1Char('\n')));
    if (shown == 0)
        return 1;
    const int result = QApplication::exec();
    return missing.isEmpty() ? result : 1;
}

QString FilePropertiesWindow::description()
{
    return tr("Shows the properties of files and folders.");
}
