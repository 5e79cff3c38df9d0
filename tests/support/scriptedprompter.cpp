#include "support/scriptedprompter.h"

ScriptedPrompter::ScriptedPrompter()
{
    Prompter::install(this);
}

ScriptedPrompter::~ScriptedPrompter()
{
    Prompter::install(nullptr);
}

QMessageBox::StandardButton ScriptedPrompter::ask(QWidget*, QMessageBox::Icon icon,
                                                  const QString& title, const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton,
                                                  const ButtonTexts& buttonTexts)
{
    m_asked.append({icon, title, text, buttons, defaultButton, buttonTexts});
    if (m_whileAsking)
        m_whileAsking();
    return m_script.isEmpty() ? m_fallback : m_script.takeFirst();
}
