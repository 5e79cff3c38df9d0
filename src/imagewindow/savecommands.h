#pragma once

#include <QCoreApplication>

class QWidget;
class SPicView;

// The Save and Save as actions on one picture view: the dialog, the suffix rules and the
// questions, then the view's own write, which reports a failure and keeps the picture.
// Its texts belong to the image window's translations; ImageFileCommands calls it with the
// current view and the window as the dialogs' parent.
class SaveCommands
{
    Q_DECLARE_TR_FUNCTIONS(ImagesCentralWidget)

public:
    // Writes a changed picture over its file in its format. A picture made in memory has no
    // file yet, and one in a format that is not written has no way back into it: both go
    // through Save as, the second once the user agrees. True when a file was written.
    static bool save(SPicView* view, QWidget* parent);
    // Asks for a name until one can be written or the user cancels. True when a file was written.
    static bool saveAs(SPicView* view, QWidget* parent);
    // For JPEG and WebP, the quality the view's picture would be written at in format, in words
    // for the status bar; empty for other formats.
    static QString qualityMessage(const SPicView* view, const QString& format);
};
