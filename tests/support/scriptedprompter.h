#pragma once

#include "platformwidgets/prompter.h"

#include <QList>
#include <QString>

#include <functional>

// Answers questions from a script (first in, first out) and records every question asked.
// Installs itself for its lifetime.
class ScriptedPrompter : public Prompter
{
public:
    struct Question
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
        ButtonTexts buttonTexts;
    };

    ScriptedPrompter();
    ~ScriptedPrompter() override;

    // With the script empty, every question gets the fallback answer.
    void answer(QMessageBox::StandardButton button) { m_script.append(button); }
    void setFallback(QMessageBox::StandardButton button) { m_fallback = button; }
    // Runs inside every question, as other work runs while a real box waits for its answer.
    void whileAsking(std::function<void()> work) { m_whileAsking = std::move(work); }
    const QList<Question>& asked() const { return m_asked; }

    QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton,
                                    const ButtonTexts& buttonTexts) override;

private:
    QList<QMessageBox::StandardButton> m_script;
    QList<Question> m_asked;
    QMessageBox::StandardButton m_fallback = QMessageBox::Cancel;
    std::function<void()> m_whileAsking;
};
