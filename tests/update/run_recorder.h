// A run report for tests: records, while it lives, every event the library
// tells, one line per event with its paths relative to a temporary folder,
// so that a test compares the whole list with the one it expects.

#pragma once

#include "host/run_report.h"

#include <string>
#include <vector>

namespace tern::test {

class TempFolder;

class RunRecorder : public core::IRunReport {
public:
    // Installs itself as the library's report; `root` is the folder the
    // recorded paths are written relative to.
    explicit RunRecorder(const TempFolder& root);
    ~RunRecorder() override;
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // "kind path <- source [subject] {place} = detail (reason)", each part
    // only when its field is set; paths relative to the root, with slashes.
    void happened(const core::RunEventDetails& event) override;

    // The lines recorded so far, which are then forgotten.
    std::vector<std::string> take();

private:
    std::string relative(const std::wstring& path) const;

    std::wstring root;
    std::vector<std::string> lines;
};

} // namespace tern::test
