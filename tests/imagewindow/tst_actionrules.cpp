#include "support/lumotest.h"

#include "imagewindow/actionrules.h"

// Which actions the image window offers for which state of the current picture.
class TestActionRules : public QObject
{
    Q_OBJECT

private slots:
    void enables_data();
    void enables();
    void placedViewSize_data();
    void placedViewSize();
};

namespace {

ActionRules::State picture()
{
    ActionRules::State state;
    state.hasView = true;
    state.hasFilePath = true;
    return state;
}

} // namespace

Q_DECLARE_METATYPE(ActionRules::State)

void TestActionRules::enables_data()
{
    QTest::addColumn<ActionRules::State>("state");
    // edit group, undo, paste, save, save as, remove, print, full screen, delay box, dialogs,
    // wallpaper
    QTest::addColumn<QString>("expected");

    QTest::newRow("no picture") << ActionRules::State() << "00000000000";
    QTest::newRow("picture as read") << picture() << "10001111111";

    ActionRules::State edited = picture();
    edited.saveable = edited.undoAvailable = edited.clipboardHasImage = true;
    QTest::newRow("edited picture, image on the clipboard") << edited << "11111111111";

    ActionRules::State slideshow = edited;
    slideshow.slideshowRunning = true;
    QTest::newRow("slideshow keeps only full screen and delay") << slideshow << "00000001101";

    ActionRules::State broken = edited;
    broken.broken = true;
    QTest::newRow("unreadable file can still be removed") << broken << "00000100101";

    ActionRules::State imported = edited;
    imported.hasFilePath = imported.saveable = false;
    QTest::newRow("picture without a file") << imported << "11101011110";
}

void TestActionRules::enables()
{
    QFETCH(ActionRules::State, state);
    QFETCH(QString, expected);
    const ActionRules::Enables e = ActionRules::enables(state);
    QString actual;
    for (bool on : {e.editGroup, e.undo, e.paste, e.save, e.saveAs, e.remove, e.print,
                    e.fullScreen, e.delayBox, e.imageDialogs, e.wallpaper})
        actual += on ? QLatin1Char('1') : QLatin1Char('0');
    QCOMPARE(actual, expected);
    QCOMPARE(e.redo, false);
}

void TestActionRules::placedViewSize_data()
{
    QTest::addColumn<QSize>("canvas");
    QTest::addColumn<QSize>("workspace");
    QTest::addColumn<QSize>("size");
    QTest::newRow("small picture plus margin") << QSize(100, 50) << QSize(800, 600)
                                               << QSize(120, 70);
    QTest::newRow("large picture takes three quarters, rounded") << QSize(4000, 3000) << QSize(801, 603)
                                            << QSize(601, 452);
}

void TestActionRules::placedViewSize()
{
    QFETCH(QSize, canvas);
    QFETCH(QSize, workspace);
    QFETCH(QSize, size);
    QCOMPARE(ActionRules::placedViewSize(canvas, workspace), size);
}

LUMO_TEST_MAIN(TestActionRules)
#include "tst_actionrules.moc"
