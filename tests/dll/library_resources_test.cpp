// The resources TnUpdate.dll carries for its questions, read from the DLL as
// a resource editor sees them: the string table and the dialog template,
// tagged Japanese. And the library's code finding them in the DLL that holds
// it, not in the program that hosts it.

#include "tests/dll/dialog_template.h"
#include "tests/dll/dynamic_library.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace tern::test {
namespace {

const WORD japanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

// The resource bytes of a module loaded for its resources only.
std::vector<unsigned char> resourceBytes(HMODULE module, LPCWSTR type, LPCWSTR name) {
    const HRSRC resource = ::FindResourceExW(module, type, name, japanese);
    const HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const auto* bytes = static_cast<const unsigned char*>(loaded ? ::LockResource(loaded) : nullptr);
    return bytes ? std::vector<unsigned char>(bytes, bytes + ::SizeofResource(module, resource))
                 : std::vector<unsigned char>{};
}

// A string table block: sixteen counted texts, the strings (block - 1) * 16
// to (block - 1) * 16 + 15.
std::vector<std::wstring> stringBlock(const std::vector<unsigned char>& bytes) {
    std::vector<std::wstring> texts;
    std::vector<wchar_t> units(bytes.size() / 2);
    std::memcpy(units.data(), bytes.data(), units.size() * 2);
    for (std::size_t at = 0; at < units.size() && texts.size() < 16;) {
        const std::size_t length = units[at++];
        texts.emplace_back(units.data() + at, std::min(length, units.size() - at));
        at += length;
    }
    return texts;
}

class TnUpdateResources : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(module.get(), nullptr) << TN_UPDATE_LIBRARY << ": error " << ::GetLastError(); }

    const std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&::FreeLibrary)> module{
        ::LoadLibraryExW(L"" TN_UPDATE_LIBRARY, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE),
        &::FreeLibrary};
};

TEST_F(TnUpdateResources, StringTable_HoldsTheTwoQuestions_AndNothingElseInTheirBlock) {
    std::vector<std::wstring> expected(16);
    expected[0] = L"以前の設定を引き継ぎますか？";
    expected[1] = L"レイヤテンプレートが存在します。\nレイヤテンプレートを使用しますか？";
    // Strings 4000 to 4015 share block 251.
    EXPECT_EQ(stringBlock(resourceBytes(module.get(), RT_STRING, MAKEINTRESOURCEW(251))), expected);
}

TEST_F(TnUpdateResources, Dialog4001_IsTheSystemModalChoiceBetweenTheTwoProducts) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    DialogTemplate expected;
    expected.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFOREGROUND |
                     DS_SYSMODAL | DS_FIXEDSYS | DS_SETFONT;
    expected.rect = {0, 0, 117, 86};
    expected.caption = L"OrvoLumen";
    expected.pointSize = 8;
    expected.weight = FW_NORMAL;
    expected.charset = DEFAULT_CHARSET;
    expected.typeface = L"MS Shell Dlg";
    // Ordinal classes: 0x80 is a button, 0x82 a static text.
    expected.items = {
        {-1, L"#130", child | SS_LEFT | WS_GROUP, {12, 12, 90, 18}, L"以下の設定が存在します。\n設定を引き継ぎますか？"},
        {4000, L"#128", child | BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, {12, 36, 48, 10}, L"OrvoLumen"},
        {4001, L"#128", child | BS_AUTORADIOBUTTON, {12, 48, 80, 10}, L"OrvoLumenPatron"},
        {IDOK, L"#128", child | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP, {6, 66, 50, 14}, L"はい"},
        {IDCANCEL, L"#128", child | BS_PUSHBUTTON | WS_TABSTOP, {60, 66, 50, 14}, L"いいえ"},
    };
    const auto bytes = resourceBytes(module.get(), RT_DIALOG, MAKEINTRESOURCEW(4001));
    const auto dialog = readDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(dialog) << "dialog 4001 is missing or not an extended template (" << bytes.size() << " bytes)";
    EXPECT_EQ(*dialog, expected);
}

// prompt_probe.dll links the library's objects as TnUpdate.dll does and
// exports its string loading; this program has no resources of its own.
TEST(LibraryModule, IsTheDllHoldingTheLibrarysCode_NotTheHostProgram) {
    ASSERT_EQ(::LoadStringW(::GetModuleHandleW(nullptr), 4000, nullptr, 0), 0) << "the host must have no string 4000";
    const DynamicLibrary probe(TN_PROMPT_PROBE_LIBRARY);
    ASSERT_TRUE(probe.isOpen()) << TN_PROMPT_PROBE_LIBRARY << ": " << probe.error();
    using LibraryString = std::size_t (*)(unsigned id, wchar_t* buffer, std::size_t size);
    const auto libraryString = reinterpret_cast<LibraryString>(probe.symbol("probeLibraryString"));
    ASSERT_NE(libraryString, nullptr);
    wchar_t text[64] = {};
    EXPECT_EQ(libraryString(4000, text, 64), 14u);
    EXPECT_EQ(std::wstring(text), L"以前の設定を引き継ぎますか？");
}

} // namespace
} // namespace tern::test
