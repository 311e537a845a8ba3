// The writer through which a file's bytes reach it piece by piece
// (file_system.h: writeFileReplacingWith), so that a large file is never
// held whole in memory.
//
// Pieces are gathered and handed on in blocks: a printer's many small
// pieces cost one system call for each block rather than one each. The
// first failure sticks: nothing is handed on after it.

#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>

namespace tern::platform {

class FileWriter {
public:
    // `put` writes a block after the ones before it; its error ends the writing.
    explicit FileWriter(std::function<std::error_code(std::string_view)> put);

    // Writes the bytes after those written before; false once a write failed.
    bool write(std::string_view bytes);
    // Hands on what is gathered; false once a write failed.
    bool flush();
    // The failure of the first write that failed; empty while none did.
    std::error_code failure() const { return failed; }

private:
    static constexpr std::size_t blockSize = 64 * 1024;

    std::function<std::error_code(std::string_view)> put;
    std::string gathered;
    std::error_code failed;
};

// Hands what `produce` writes to `put` through a writer, to the last byte:
// empty when all of it went, else the first failed write's error, or
// std::errc::operation_canceled when `produce` gave up.
std::error_code writeProduced(std::function<std::error_code(std::string_view)> put,
                              const std::function<bool(FileWriter&)>& produce);

} // namespace tern::platform
