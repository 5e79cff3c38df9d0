#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

class ImageFormats;
class QWidget;

// The Open action's question: which image files to open, starting in the last folder read.
// Its texts belong to the image window's translations; ImageFileCommands::open() opens each
// chosen file in a view of its own.
class ImageOpener
{
    Q_DECLARE_TR_FUNCTIONS(ImagesCentralWidget)

public:
    // All readable images first and preselected, then every file, then one filter per format.
    static QString filterString(const ImageFormats& formats);
    // The remembered folder as a local path; the desktop when none is remembered.
    static QString startDirectory();
    // The chosen files in the order the dialog gives them; empty when cancelled.
    static QStringList chooseFiles(QWidget* parent);
};
