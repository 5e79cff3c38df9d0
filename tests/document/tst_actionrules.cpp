#include "support/lumotest.h"

#include "document/actionrules.h"

namespace {

// "view broken running undo redo clipboard saveable file marked loop row=1/3", any subset.
ActionRules::State stateOf(const QString& words)
{
    ActionRules::State state;
    const QStringList list = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto has = [&list](const char* word) { return list.contains(QLatin1String(word)); };
    state.hasView = has("view");
    state.broken = has("broken");
    state.slideshowRunning = has("running");
    state.undoAvailable = has("undo");
    state.redoAvailable = has("redo");
    state.clipboardHasImage = has("clipboard");
    state.saveable = has("saveable");
    state.hasFilePath = has("file");
    state.marked = has("marked");
    state.loop = has("loop");
    for (const QString& word : list) {
        if (word.startsWith(QLatin1String("row="))) {
            const QStringList place = word.mid(4).split(QLatin1Char('/'));
            state.row = place.at(0).toInt();
            state.rowCount = place.at(1).toInt();
        }
    }
    return state;
}

QString names(std::initializer_list<std::pair<const char*, bool>> flags)
{
    QStringList on;
    for (const auto& flag : flags) {
        if (flag.second)
            on << QLatin1String(flag.first);
    }
    return on.join(QLatin1Char(' '));
}

} // namespace

// Which actions a picture's state leaves usable, in the image window and full screen alike.
class TestActionRules : public QObject
{
    Q_OBJECT

private slots:
    void windowActions_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("no picture") << "" << "";
        QTest::newRow("no picture, an image to paste as new") << "clipboard" << "pasteAsNew";
        QTest::newRow("unreadable picture can still be removed")
            << "view broken file undo saveable clipboard"
            << "remove delayBox wallpaper pasteAsNew";
        QTest::newRow("readable picture")
            << "view file"
            << "edit saveAs remove print fullScreen delayBox dialogs wallpaper reorient zoom";
        QTest::newRow("changed, with history, a selection and an image to paste")
            << "view file saveable undo redo marked clipboard"
            << "edit undo redo paste save saveAs remove print fullScreen delayBox dialogs "
               "wallpaper reorient crop pasteAsNew zoom";
        QTest::newRow("slideshow leaves no edit")
            << "view file saveable undo marked running" << "fullScreen delayBox wallpaper";
        QTest::newRow("picture without a file")
            << "view saveable"
            << "edit save saveAs print fullScreen delayBox dialogs reorient zoom";
    }
    void windowActions()
    {
        QFETCH(QString, state);
        QFETCH(QString, enabled);
        const ActionRules::Enables e = ActionRules::enables(stateOf(state));
        QCOMPARE(names({{"edit", e.editGroup}, {"undo", e.undo}, {"redo", e.redo},
                        {"paste", e.paste}, {"save", e.save}, {"saveAs", e.saveAs},
                        {"remove", e.remove}, {"print", e.print}, {"fullScreen", e.fullScreen},
                        {"delayBox", e.delayBox}, {"dialogs", e.imageDialogs},
                        {"wallpaper", e.wallpaper}, {"reorient", e.reorient}, {"crop", e.crop},
                        {"pasteAsNew", e.pasteAsNew}, {"zoom", e.zoom}}),
                 enabled);
    }

    void goActions_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("no picture") << "loop row=1/3" << "";
        QTest::newRow("first: nothing before it") << "view row=0/3" << "start last next";
        QTest::newRow("middle") << "view row=1/3" << "start first last next previous";
        QTest::newRow("middle, show running") << "view running row=1/3"
                                              << "stop first last next previous";
        QTest::newRow("last: next stays off") << "view row=2/3" << "first previous";
        QTest::newRow("last, looping: a show can start") << "view loop row=2/3"
                                                         << "start first previous";
        QTest::newRow("last, looping show running") << "view loop running row=2/3"
                                                    << "stop first previous";
        QTest::newRow("one picture is no loop") << "view loop row=0/1" << "";
        QTest::newRow("file gone from the list") << "view row=-1/2" << "start last next";
    }
    void goActions()
    {
        QFETCH(QString, state);
        QFETCH(QString, enabled);
        const ActionRules::GoEnables go = ActionRules::enables(stateOf(state)).go;
        QCOMPARE(names({{"start", go.start}, {"stop", go.stop}, {"first", go.first},
                        {"last", go.last}, {"next", go.next}, {"previous", go.previous}}),
                 enabled);
    }
};

LUMO_TEST_MAIN(TestActionRules)
#include "tst_actionrules.moc"
