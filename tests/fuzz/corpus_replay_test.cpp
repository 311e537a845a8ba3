// Replays a fuzz target's checked-in corpus, the seeds and every input that
// once broke the code, through the target itself, without libFuzzer: every
// build, GCC, sanitizers and Windows alike, keeps them passing. A target
// aborts on a broken promise, which fails the file's test with its reason.

#include "tests/fuzz/fuzz_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

namespace tern::fuzz {
namespace {

namespace fs = std::filesystem;

// The target's corpus folder, in name order; empty when it cannot be listed.
std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::directory_iterator it(fs::u8path(TN_FUZZ_CORPUS_DIR), ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file())
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    return files;
}

// The file's name, as a test name takes it: letters, digits and underscores.
std::string testName(const ::testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.filename().u8string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

// Instantiates a suite under the target's name, so that the replay
// programs' test names differ (TN_FUZZ_TARGET is expanded when passed on).
#define TN_INSTANTIATE_FOR_TARGET(target, ...) INSTANTIATE_TEST_SUITE_P(target, __VA_ARGS__)

class CorpusReplay : public ::testing::TestWithParam<fs::path> {};

TEST_P(CorpusReplay, Input_KeepsTheTargetsPromises) {
    std::ifstream file(GetParam(), std::ios::binary);
    ASSERT_TRUE(file) << GetParam();
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), 0);
}

TN_INSTANTIATE_FOR_TARGET(TN_FUZZ_TARGET, CorpusReplay, ::testing::ValuesIn(corpusFiles()), testName);

class CorpusFolder : public ::testing::TestWithParam<std::string> {};

TEST_P(CorpusFolder, HoldsSeeds_ForTheReplayToRun) { EXPECT_GE(corpusFiles().size(), 3u) << GetParam(); }

TN_INSTANTIATE_FOR_TARGET(TN_FUZZ_TARGET, CorpusFolder, ::testing::Values(std::string(TN_FUZZ_CORPUS_DIR)),
                          [](const auto&) { return std::string("seeds"); });

} // namespace
} // namespace tern::fuzz
