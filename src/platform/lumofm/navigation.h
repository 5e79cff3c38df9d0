#pragma once

#include "platform/lumofm/entry.h"

#include <QList>
#include <QMetaType>
#include <QObject>

namespace LumoFM {

// The current directory of a browser, with back and forward history.
class Navigation : public QObject
{
    Q_OBJECT

public:
    explicit Navigation(QObject* parent = nullptr);

    Entry current() const { return m_current; }

    bool canGoBack() const { return !m_back.isEmpty(); }
    bool canGoForward() const { return !m_forward.isEmpty(); }
    bool canGoUp() const;

    // Oldest steps are forgotten beyond this many in either direction.
    static constexpr int historyLimit = 100;

public slots:
    // An invalid entry or the current one changes nothing; anything else starts a new branch
    // of history, forgetting the forward steps.
    void setCurrent(const LumoFM::Entry& entry);
    void back();
    void forward();
    void up();
    // Announces the current entry again so views re-read it; the history stays as it is.
    void refresh();

signals:
    void currentChanged(const LumoFM::Entry& entry);

private:
    void moveTo(const Entry& entry);

    Entry m_current;
    QList<Entry> m_back;
    QList<Entry> m_forward;
};

} // namespace LumoFM

Q_DECLARE_METATYPE(LumoFM::Entry)
