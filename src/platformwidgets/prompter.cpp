#include "platformwidgets/prompter.h"

#include <QAbstractButton>

namespace {

class MessageBoxPrompter : public Prompter
{
public:
    QMessageBox::StandardButton ask(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                    const QString& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton,
                                    const ButtonTexts& buttonTexts) override
    {
        QMessageBox box(icon, title, text, buttons, parent);
        box.setDefaultButton(defaultButton);
        for (auto it = buttonTexts.cbegin(); it != buttonTexts.cend(); ++it) {
            if (QAbstractButton* button = box.button(it.key()))
                button->setText(it.value());
        }
        return static_cast<QMessageBox::StandardButton>(box.exec());
    }
};

Prompter* g_installed = nullptr;

} // namespace

Prompter::~Prompter() = default;

Prompter* Prompter::current()
{
    static MessageBoxPrompter real;
    return g_installed ? g_installed : &real;
}

void Prompter::install(Prompter* prompter)
{
    g_installed = prompter;
}

QMessageBox::StandardButton Prompter::information(QWidget* parent, const QString& title,
                                                  const QString& text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton,
                                                  const ButtonTexts& buttonTexts)
{
    return current()->ask(parent, QMessageBox::Information, title, text, buttons, defaultButton,
                          buttonTexts);
}

QMessageBox::StandardButton Prompter::question(QWidget* parent, const QString& title,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return current()->ask(parent, QMessageBox::Question, title, text, buttons, defaultButton,
                          ButtonTexts());
}

QMessageBox::StandardButton Prompter::warning(QWidget* parent, const QString& title,
                                              const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton,
                                              const ButtonTexts& buttonTexts)
{
    return current()->ask(parent, QMessageBox::Warning, title, text, buttons, defaultButton,
                          buttonTexts);
}

QMessageBox::StandardButton Prompter::critical(QWidget* parent, const QString& title,
                                               const QString& text,
                                               QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    return current()->ask(parent, QMessageBox::Critical, title, text, buttons, defaultButton,
                          ButtonTexts());
}
