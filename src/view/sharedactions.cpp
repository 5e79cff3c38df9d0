#include "view/sharedactions.h"

#include <QAction>
#include <QActionGroup>
#include <QIcon>
#include <QKeySequence>
#include <QList>

namespace {

struct ActionRow
{
    SharedActions::Index index;
    const char* text;
    const char* icon;
    QList<QKeySequence> shortcuts;
    bool enabled;
    bool checkable;
};

} // namespace

SharedActions::SharedActions(QObject* parent) : QObject(parent)
{
    const QList<QKeySequence> none;
    const ActionRow rows[] = {
        {Index::Open, QT_TR_NOOP("&Open..."), "document-open", {Qt::CTRL | Qt::Key_O}, true,
         false},
        {Index::New, QT_TR_NOOP("&New..."), nullptr, none, true, false},
        {Index::Save, QT_TR_NOOP("&Save"), "document-save", {Qt::CTRL | Qt::Key_S}, false, false},
        {Index::SaveAs, QT_TR_NOOP("Save as..."), "document-save-as", none, false, false},
        {Index::Remove, QT_TR_NOOP("Remove"), nullptr, {Qt::SHIFT | Qt::Key_Delete}, false,
         false},
        {Index::Print, QT_TR_NOOP("&Print..."), "document-print", {Qt::CTRL | Qt::Key_P}, false,
         false},
        {Index::Scan, QT_TR_NOOP("Scan..."), "scanner", none, true, false},
        {Index::FullScreen, QT_TR_NOOP("&Full screen"), "view-fullscreen",
         {Qt::ALT | Qt::Key_Return, Qt::Key_F}, true, true},
        {Index::Settings, QT_TR_NOOP("&Settings..."), nullptr, none, true, false},
        {Index::Quit, QT_TR_NOOP("&Quit"), "application-exit", {Qt::CTRL | Qt::Key_Q}, true,
         false},
        {Index::Files, QT_TR_NOOP("Files"), nullptr, none, true, true},
        {Index::Images, QT_TR_NOOP("Images"), nullptr, none, true, true},
    };
    for (const ActionRow& row : rows) {
        auto* action = new QAction(tr(row.text), this);
        if (row.icon)
            action->setIcon(QIcon::fromTheme(QLatin1String(row.icon), QIcon()));
        action->setShortcuts(row.shortcuts);
        action->setEnabled(row.enabled);
        action->setCheckable(row.checkable);
        m_actions[static_cast<std::size_t>(row.index)] = action;
    }
    // Checking one mode unchecks the other, which is what switches the main window over.
    auto* modes = new QActionGroup(this);
    modes->setExclusive(true);
    modes->addAction(at(Index::Files));
    modes->addAction(at(Index::Images));
    at(Index::Files)->setChecked(true);
}
