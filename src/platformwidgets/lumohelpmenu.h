#pragma once

#include <QMenu>

class QAction;

// The program's Help menu: "About lumo-image" and "About Qt".
class LumoHelpMenu : public QMenu
{
    Q_OBJECT

public:
    explicit LumoHelpMenu(QWidget* parent = nullptr);

    QAction* aboutAction() const { return m_about; }
    QAction* aboutQtAction() const { return m_aboutQt; }

    // The text of the About box: name, version and the registered description.
    static QString aboutText();

private:
    void showAbout();

    QAction* m_about;
    QAction* m_aboutQt;
};
