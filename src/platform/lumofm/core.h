#pragma once

namespace LumoFM {

// Start-up of the file-manager core; safe to call more than once.
class Core
{
public:
    static void initialize();
};

} // namespace LumoFM
