#include "platform/fault_injection.h"

#include <mutex>

namespace tern::platform {

namespace {

struct Plan {
    std::uint64_t failAt = 0;
    std::errc error = std::errc::io_error;
    std::uint64_t counted = 0;
    std::optional<FileCall> failed;
};

std::mutex planLock;
Plan plan;

} // namespace

namespace fault_injection {

std::atomic<bool> armed{false};

std::optional<std::errc> countCall(FileCall call) {
    const std::lock_guard<std::mutex> lock(planLock);
    if (++plan.counted != plan.failAt)
        return std::nullopt;
    plan.failed = call;
    return plan.error;
}

} // namespace fault_injection

void armFault(std::uint64_t n, std::errc error) {
    const std::lock_guard<std::mutex> lock(planLock);
    plan = Plan{n, error, 0, std::nullopt};
    fault_injection::armed.store(true, std::memory_order_relaxed);
}

void disarmFault() {
    const std::lock_guard<std::mutex> lock(planLock);
    fault_injection::armed.store(false, std::memory_order_relaxed);
}

std::uint64_t countedFileCalls() {
    const std::lock_guard<std::mutex> lock(planLock);
    return plan.counted;
}

std::optional<FileCall> failedFileCall() {
    const std::lock_guard<std::mutex> lock(planLock);
    return plan.failed;
}

} // namespace tern::platform
