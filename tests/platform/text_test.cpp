#include "platform/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tern::platform {
namespace {

// Characters beyond U+FFFF, written as the platform's wide string holds them.
const std::wstring grinningFace = fromUtf8("\xF0\x9F\x98\x80");        // U+1F600
const std::wstring deseretCapitalLongI = fromUtf8("\xF0\x90\x90\x80"); // U+10400
const std::wstring deseretSmallLongI = fromUtf8("\xF0\x90\x90\xA8");   // U+10428

TEST(TextCase, EqualIgnoringCase_FoldsEachUnitToItsUpperCase_AsWindowsComparesNames) {
    struct Case {
        const char* why;
        std::wstring a;
        std::wstring b;
        bool equal;
    };
    const Case cases[] = {
        {"ASCII", L"Templates", L"TEMPLATES", true},
        {"ASCII letters that differ", L"Config", L"Confog", false},
        {"Latin-1", L"\u00e9t\u00e9", L"\u00c9T\u00c9", true},
        {"Greek with tonos", L"\u03c3\u03bf\u03c6\u03af\u03b1", L"\u03a3\u039f\u03a6\u038a\u0391", true},
        {"Cyrillic", L"\u043c\u043e\u0441\u043a\u0432\u0430", L"\u041c\u041e\u0421\u041a\u0412\u0410", true},
        {"Latin Extended-B digraph", L"\u01c6", L"\u01c4", true},
        {"Georgian Nuskhuri to Asomtavruli", L"\u2d00", L"\u10a0", true},
        {"full-width Latin", L"\uff41\uff42", L"\uff21\uff22", true},
        {"sharp s has no single upper-case unit", L"stra\u00dfe", L"STRASSE", false},
        {"nor is capital sharp s its upper case", L"\u00df", L"\u1e9e", false},
        {"dotless i is not I", L"\u0131", L"I", false},
        {"long s is not S", L"\u017f", L"S", false},
        {"final sigma is not capital sigma", L"\u03c2", L"\u03a3", false},
        {"title-case digraph is not its capital", L"\u01c5", L"\u01c4", false},
        {"beyond U+FFFF, no case", deseretSmallLongI, deseretCapitalLongI, false},
        {"beyond U+FFFF, itself", L"a" + grinningFace, L"A" + grinningFace, true},
        {"lengths differ", L"abc", L"ABCD", false},
        {"empty", L"", L"", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equalIgnoringCase(c.a, c.b), c.equal) << c.why;
        EXPECT_EQ(equalIgnoringCase(c.b, c.a), c.equal) << c.why;
    }
}

TEST(TextCase, LessIgnoringCase_OrdersUpperCasedUtf16Units_AsNtfsListsAFolder) {
    std::vector<std::wstring> names = {L"\uff21", grinningFace,  L"\u00e9t\u00e9", L"_x", L"Zed", L"b",
                                       L"A",      L"\u00c9mile", L"\u00c9T\u00c9s"};
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    // "_" (0x5F) comes after the upper-case letters; a surrogate pair
    // (0xD83D...) before U+FF21.
    const std::vector<std::wstring> expected = {
        L"A", L"b", L"Zed", L"_x", L"\u00c9mile", L"\u00e9t\u00e9", L"\u00c9T\u00c9s", grinningFace, L"\uff21"};
    EXPECT_EQ(names, expected);
    EXPECT_FALSE(lessIgnoringCase(L"\u00e9t\u00e9", L"\u00c9T\u00c9"));
    EXPECT_FALSE(lessIgnoringCase(L"\u00c9T\u00c9", L"\u00e9t\u00e9"));
}

// The sort key agrees with the comparison on every pair, prefixes and names
// equal but for case included.
TEST(TextCase, CaseOrderKey_OrdersAsLessIgnoringCase) {
    const std::vector<std::wstring> names = {
        L"\uff21",     grinningFace,      L"\u00e9t\u00e9", L"_x", L"Zed", L"b",     L"A",
        L"\u00c9mile", L"\u00c9T\u00c9s", L"\u00c9T\u00c9", L"a",  L"",    L"\ue000"};
    for (const std::wstring& a : names)
        for (const std::wstring& b : names)
            EXPECT_EQ(caseOrderKey(a) < caseOrderKey(b), lessIgnoringCase(a, b)) << toUtf8(a) << " / " << toUtf8(b);
}

TEST(TextCase, ToUpperCase_ChangesOnlyLettersWithAnUpperCase) {
    const std::pair<wchar_t, wchar_t> cases[] = {
        {L'a', L'A'},           {L'A', L'A'},           {L'1', L'1'},           {L'\u00ff', L'\u0178'},
        {L'\u0101', L'\u0100'}, {L'\u0100', L'\u0100'}, {L'\u01c9', L'\u01c7'}, {L'\u0454', L'\u0404'},
        {L'\uab70', L'\u13a0'}, {L'\u3042', L'\u3042'}, {L'\uffff', L'\uffff'}, {L'\0', L'\0'},
    };
    for (const auto& [unit, upper] : cases)
        EXPECT_EQ(static_cast<unsigned>(toUpperCase(unit)), static_cast<unsigned>(upper)) << std::hex << unit;
}

} // namespace
} // namespace tern::platform
