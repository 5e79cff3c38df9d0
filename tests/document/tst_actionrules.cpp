#include "support/lumotest.h"

#include "document/actionrules.h"

namespace {

// A state in words, as tests/data/tables/actionrules.txt writes it.
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
    void enables_data() { lumotest::addRows(QStringLiteral("actionrules.txt")); }
    void enables()
    {
        QFETCH(QString, state);
        QFETCH(QString, enabled);
        enabled.replace(QLatin1String("readable"),
                        QLatin1String("edit saveAs remove print fullScreen delayBox dialogs "
                                      "wallpaper reorient zoom"));
        QCOMPARE(enabledNames(ActionRules::enables(stateOf(state))), enabled);
    }
};

LUMO_TEST_MAIN(TestActionRules)
#include "tst_actionrules.moc"
