#include "platform/file_writer.h"

#include <utility>

namespace tern::platform {

FileWriter::FileWriter(std::function<std::error_code(std::string_view)> put) : put(std::move(put)) {}

bool FileWriter::write(std::string_view bytes) {
    if (gathered.size() + bytes.size() > blockSize && !flush())
        return false;
    if (bytes.size() >= blockSize) {
        if (!failed)
            failed = put(bytes);
        return !failed;
    }
    if (gathered.capacity() < blockSize)
        gathered.reserve(blockSize);
    gathered.append(bytes);
    return !failed;
}

bool FileWriter::flush() {
    if (!failed && !gathered.empty())
        failed = put(gathered);
    gathered.clear();
    return !failed;
}

std::error_code writeProduced(std::function<std::error_code(std::string_view)> put,
                              const std::function<bool(FileWriter&)>& produce) {
    FileWriter writer(std::move(put));
    const bool produced = produce(writer) && writer.flush();
    if (writer.failure() || produced)
        return writer.failure();
    return std::make_error_code(std::errc::operation_canceled);
}

} // namespace tern::platform
