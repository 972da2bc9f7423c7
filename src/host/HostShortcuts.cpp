#include "host/HostShortcuts.h"

#include <atomic>

namespace {
std::atomic<bool> g_enabled{true};
}

namespace HostShortcuts {

bool enabled()
{
    return g_enabled.load(std::memory_order_relaxed);
}

void setEnabled(bool on)
{
    g_enabled.store(on, std::memory_order_relaxed);
}

} // namespace HostShortcuts
