// What the fuzz targets share. A target is one function, called by libFuzzer
// (the fuzz preset, scripts/fuzz) or by the corpus replay of the ordinary
// test suite with one input at a time. It runs the code under test on the
// input and aborts, naming the promise, when the code breaks one; a crash or
// a sanitizer report is a finding as well. Inputs the code rightly refuses
// are no finding: the target returns 0.

#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace tern::fuzz {

inline std::string_view bytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A temporary folder of this process (a system path ending in a backslash),
// made on first use and removed with its content when the process exits.
// One folder serves every input, so that an input costs no folder of its own.
const std::wstring& folder();

// Writes the bytes to folder() + name, replacing what was there; the path.
std::wstring writeInput(const std::wstring& name, std::string_view bytes);

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> contentOf(const std::wstring& path);

// Aborts the process, printing the promise, when it was not kept.
void require(bool kept, const char* promise);

} // namespace tern::fuzz
