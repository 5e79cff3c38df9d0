#include "platformwidgets/lumofm/locationbar.h"

#include "platform/lumofm/navigation.h"
#include "platform/lumofm/vfs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QKeyEvent>

namespace LumoFM {

LocationBar::LocationBar(Navigation* navigation, QWidget* parent)
    : QLineEdit(parent)
    , m_navigation(navigation)
{
    setClearButtonEnabled(true);
    connect(this, &QLineEdit::returnPressed, this, &LocationBar::go);
    // Once the user changes the text the old verdict no longer applies to it.
    connect(this, &QLineEdit::textEdited, this, [this] { setNotFound(false); });
    if (m_navigation) {
        connect(m_navigation, &Navigation::currentChanged, this, &LocationBar::showEntry);
        showEntry(m_navigation->current());
    }
}

void LocationBar::keyPressEvent(QKeyEvent* event)
{
    const bool popupOpen = completer() && completer()->popup() && completer()->popup()->isVisible();
    if (event->key() == Qt::Key_Escape && !popupOpen && m_navigation) {
        showEntry(m_navigation->current());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void LocationBar::showEntry(const Entry& entry)
{
    setNotFound(false);
    setText(entry.path());
}

void LocationBar::go()
{
    if (!m_navigation)
        return;
    const Entry entry = VFS::ptr()->entry(text().trimmed());
    if (!VFS::ptr()->isEntryExists(entry)) {
        setNotFound(true, tr("Path not found"));
        return;
    }
    if (!entry.isDir()) {
        setNotFound(true, tr("Not a directory"));
        return;
    }
    if (entry == m_navigation->current())
        showEntry(entry);
    else
        m_navigation->setCurrent(entry);
}

void LocationBar::setNotFound(bool notFound, const QString& reason)
{
    if (notFound == m_notFound && reason == toolTip())
        return;
    m_notFound = notFound;
    setToolTip(reason);
    // A style sheet, unlike a palette, survives style and palette changes of the desktop.
    setStyleSheet(notFound ? QStringLiteral("QLineEdit { color: #c01c28; }") : QString());
}

} // namespace LumoFM
