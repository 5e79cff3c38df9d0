#pragma once

#include <QMenu>

class QAction;

// The program's Help menu: "About lumo-image" and "About Qt".
class LumoHelpMenu : public QMenu
{
    Q_OBJECT

public:
    explicit LumoHelpMenu(QWidget* parent = nullptr);

    // The text of the About box: name, version and the registered description.
    static QString aboutText();

private:
    void showAbout();

    QAction* m_about;
    QAction* m_aboutQt;
};
