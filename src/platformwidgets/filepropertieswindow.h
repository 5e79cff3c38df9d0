#pragma once

#include <QDialog>

class FileProperties;

// The small window of the lumo-props tool: one path's properties as a form, and Close.
class FilePropertiesWindow : public QDialog
{
    Q_OBJECT

public:
    explicit FilePropertiesWindow(const FileProperties& properties, QWidget* parent = nullptr);

    // The whole tool on its command line (program name first): one window per existing path,
    // a warning naming the missing ones; returns the exit code.
    static int run(const QStringList& arguments);
    static QString description();
};
