#include "support/lumotest.h"
#include "support/scriptedprompter.h"

#include "platform/lumohelpmenu.h"
#include "platform/lumoinit.h"

#include <QAction>

// The ready-made Help menu.
class TestLumoHelpMenu : public QObject
{
    Q_OBJECT

private slots:
    void aboutBox();
};

void TestLumoHelpMenu::aboutBox()
{
    QWidget window;
    LumoHelpMenu menu(&window);
    QCOMPARE(menu.actions(), (QList<QAction*>{menu.aboutAction(), menu.aboutQtAction()}));

    ScriptedPrompter prompter;
    prompter.setFallback(QMessageBox::Ok);
    menu.aboutAction()->trigger();
    QCOMPARE(prompter.asked().size(), 1);
    const QString text = prompter.asked().first().text;
    QVERIFY2(text.contains(QCoreApplication::applicationVersion()), qPrintable(text));
    QVERIFY(!lumoApplicationDescription().isEmpty());
    QVERIFY2(text.contains(lumoApplicationDescription().toHtmlEscaped()), qPrintable(text));
}

LUMO_TEST_MAIN(TestLumoHelpMenu)
#include "tst_lumohelpmenu.moc"
