#include "platform/error_report.h"

namespace tern::platform {

bool fail(std::error_code* why, std::error_code reason) {
    if (why)
        *why = reason;
    return false;
}

bool fail(std::error_code* why, std::errc reason) { return fail(why, std::make_error_code(reason)); }

bool succeed(std::error_code* why) {
    if (why)
        why->clear();
    return true;
}

bool finish(std::error_code* why, std::error_code reason) { return reason ? fail(why, reason) : succeed(why); }

} // namespace tern::platform
