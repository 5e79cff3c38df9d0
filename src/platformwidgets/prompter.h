#pragma once

#include <QMap>
#include <QMessageBox>

// The one way the program asks the user a question or shows a warning box.
// Tests install their own prompter to script the answers and record what was asked.
class Prompter
{
public:
    // Words for buttons whose standard text ("Yes", "No") would not say what they do.
    using ButtonTexts = QMap<QMessageBox::StandardButton, QString>;

    virtual ~Prompter();

    virtual QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& title, const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            const ButtonTexts& buttonTexts) = 0;

    // The installed prompter, or the one that shows real message boxes.
    static Prompter* current();
    // Not owned; nullptr goes back to real message boxes.
    static void install(Prompter* prompter);

    static QMessageBox::StandardButton
    information(QWidget* parent, const QString& title, const QString& text,
                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                const ButtonTexts& buttonTexts = ButtonTexts());
    static QMessageBox::StandardButton
    question(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    static QMessageBox::StandardButton
    warning(QWidget* parent, const QString& title, const QString& text,
            QMessageBox::StandardButtons buttons = QMessageBox::Ok,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
            const ButtonTexts& buttonTexts = ButtonTexts());
    static QMessageBox::StandardButton
    critical(QWidget* parent, const QString& title, const QString& text,
             QMessageBox::StandardButtons buttons = QMessageBox::Ok,
             QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};
