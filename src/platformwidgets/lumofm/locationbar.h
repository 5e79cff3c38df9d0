#pragma once

#include "platform/lumofm/entry.h"

#include <QLineEdit>
#include <QPointer>

namespace LumoFM {

class Navigation;

// A path entry bound to a Navigation: shows the current directory, and Enter goes to the
// typed one. A path that is no directory is marked and the current directory stays.
class LocationBar : public QLineEdit
{
    Q_OBJECT

public:
    explicit LocationBar(Navigation* navigation, QWidget* parent = nullptr);

    bool isPathNotFound() const { return m_notFound; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showEntry(const Entry& entry);
    void go();
    void setNotFound(bool notFound, const QString& reason = QString());

    QPointer<Navigation> m_navigation;
    bool m_notFound = false;
};

} // namespace LumoFM
