#pragma once

#include <QObject>

#include <array>
#include <cstddef>

class QAction;

// The twelve actions both central widgets show, made once by the main window before either
// widget and kept until both are gone. Each widget connects its own behaviour to them.
class SharedActions : public QObject
{
    Q_OBJECT

public:
    enum class Index : std::size_t {
        Open,
        New,
        Save,
        SaveAs,
        Remove,
        Print,
        Scan,
        FullScreen,
        Settings,
        Quit,
        Files,
        Images,
    };
    static constexpr std::size_t count = 12;

    explicit SharedActions(QObject* parent = nullptr);

    QAction* at(Index index) const { return m_actions[static_cast<std::size_t>(index)]; }

private:
    std::array<QAction*, count> m_actions{};
};
