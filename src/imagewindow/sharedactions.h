#pragma once

#include <array>
#include <cstddef>

class QAction;

// The twelve actions both central widgets show: the main window allocates the list and fills
// the full-screen and mode entries, the image window the others. The actions are not owned.
class SharedActions
{
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

    QAction* at(Index index) const { return m_actions[static_cast<std::size_t>(index)]; }
    void set(Index index, QAction* action) { m_actions[static_cast<std::size_t>(index)] = action; }

private:
    std::array<QAction*, count> m_actions{};
};
