#include "platform/lumofm/core.h"

#include "platform/lumofm/vfs.h"

namespace LumoFM {

namespace {
bool g_initialized = false;
}

void Core::initialize()
{
    // The local file system needs no set-up beyond creating the VFS before any caller asks.
    VFS::ptr();
    g_initialized = true;
}

} // namespace LumoFM
