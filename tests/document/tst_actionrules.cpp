#include "support/lumotest.h"

#include "document/actionrules.h"

namespace {

// A state in words: any of view broken running undo redo clipboard saveable file marked loop,
// and row=r/n for the place in the list.
ActionRules::State stateOf(const QString& words)
{
    ActionRules::State s;
    const QStringList list = words.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::pair<const char*, bool*> flags[] = {
        {"view", &s.hasView},       {"broken", &s.broken},      {"running", &s.slideshowRunning},
        {"undo", &s.undoAvailable}, {"redo", &s.redoAvailable}, {"clipboard", &s.clipboardHasImage},
        {"saveable", &s.saveable},  {"file", &s.hasFilePath},   {"marked", &s.marked},
        {"loop", &s.loop}};
    for (const auto& flag : flags)
        *flag.second = list.contains(QLatin1String(flag.first));
    const QStringList place = words.section(QLatin1String("row="), 1).section(' ', 0, 0).split('/');
    if (place.size() == 2) {
        s.row = place.at(0).toInt();
        s.rowCount = place.at(1).toInt();
    }
    return s;
}

QString enabledNames(const ActionRules::Enables& e)
{
    const std::pair<const char*, bool> flags[] = {
        {"edit", e.editGroup},       {"undo", e.undo},             {"redo", e.redo},
        {"paste", e.paste},          {"save", e.save},             {"saveAs", e.saveAs},
        {"remove", e.remove},        {"print", e.print},           {"fullScreen", e.fullScreen},
        {"delayBox", e.delayBox},    {"dialogs", e.imageDialogs},  {"wallpaper", e.wallpaper},
        {"reorient", e.reorient},    {"crop", e.crop},             {"pasteAsNew", e.pasteAsNew},
        {"zoom", e.zoom},            {"start", e.go.start},        {"stop", e.go.stop},
        {"first", e.go.first},       {"last", e.go.last},          {"next", e.go.next},
        {"previous", e.go.previous}};
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
    void enables_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("enabled");
        const QString readable = "edit saveAs remove print fullScreen delayBox dialogs wallpaper "
                                 "reorient zoom";
        QTest::newRow("no picture") << "loop row=1/3" << "";
        QTest::newRow("no picture, an image to paste as new") << "clipboard" << "pasteAsNew";
        QTest::newRow("unreadable picture can still be removed")
            << "view broken file undo saveable clipboard row=0/1"
            << "remove delayBox wallpaper pasteAsNew";
        QTest::newRow("readable picture") << "view file row=0/1" << readable;
        QTest::newRow("changed, with history, a selection and an image to paste")
            << "view file saveable undo redo marked clipboard row=0/1"
            << "edit undo redo paste save saveAs remove print fullScreen delayBox dialogs "
               "wallpaper reorient crop pasteAsNew zoom";
        QTest::newRow("picture without a file")
            << "view saveable row=0/1"
            << "edit save saveAs print fullScreen delayBox dialogs reorient zoom";
        QTest::newRow("slideshow leaves no edit")
            << "view file saveable undo marked running row=1/3"
            << "fullScreen delayBox wallpaper stop first last next previous";
        QTest::newRow("first: nothing before it") << "view file row=0/3"
                                                  << readable + " start last next";
        QTest::newRow("middle") << "view file row=1/3"
                                << readable + " start first last next previous";
        QTest::newRow("last: next stays off") << "view file row=2/3"
                                              << readable + " first previous";
        QTest::newRow("last, looping: a show can start") << "view file loop row=2/3"
                                                         << readable + " start first previous";
        QTest::newRow("one picture is no loop") << "view file loop row=0/1" << readable;
    }
    void enables()
    {
        QFETCH(QString, state);
        QFETCH(QString, enabled);
        QCOMPARE(enabledNames(ActionRules::enables(stateOf(state))), enabled);
    }
};

LUMO_TEST_MAIN(TestActionRules)
#include "tst_actionrules.moc"
