#include "tests/update/run_recorder.h"

#include "platform/text.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <utility>

namespace tern::test {

namespace {

const char* nameOf(core::RunEvent event) {
    static const char* const names[] = {"folderMade",
                                        "folderNotMade",
                                        "fileCopied",
                                        "fileSkipped",
                                        "fileReplaced",
                                        "attributesChanged",
                                        "fileDeleted",
                                        "fileLeft",
                                        "fileWritten",
                                        "fileNotWritten",
                                        "questionAsked",
                                        "layoutItemApplied",
                                        "layoutItemNotApplied",
                                        "settingEditApplied",
                                        "settingEditNotApplied",
                                        "refused",
                                        "finished"};
    const auto index = static_cast<std::size_t>(event);
    return index < std::size(names) ? names[index] : "unknown";
}

} // namespace

RunRecorder::RunRecorder(const TempFolder& folder) : root(folder.system()) { core::setRunReport(this); }

RunRecorder::~RunRecorder() { core::setRunReport(nullptr); }

std::string RunRecorder::relative(const std::wstring& path) const {
    std::string text = platform::toUtf8(path.compare(0, root.size(), root) == 0 ? path.substr(root.size()) : path);
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

void RunRecorder::happened(const core::RunEventDetails& event) {
    std::string line = nameOf(event.event);
    if (!event.path.empty())
        line += " " + relative(event.path);
    if (!event.source.empty())
        line += " <- " + relative(event.source);
    if (!event.subject.empty())
        line += " [" + platform::toUtf8(event.subject) + "]";
    if (!event.place.empty())
        line += " {" + platform::toUtf8(event.place) + "}";
    if (!event.detail.empty())
        line += " = " + platform::toUtf8(event.detail);
    if (!event.reason.empty())
        line += " (" + platform::toUtf8(event.reason) + ")";
    lines.push_back(std::move(line));
}

std::vector<std::string> RunRecorder::take() { return std::exchange(lines, {}); }

} // namespace tern::test
