// A text that copies share: a copy costs no allocation, and a text held by
// many records is held once. A command's SID is one: the command table
// holds it, and every control of a layout that shows the command, and
// every record copied from the table, shares it rather than holding its
// own copy (a layout of 150,000 controls would otherwise hold 150,000).
//
// It reads as the std::wstring it holds and compares by its text; it is
// never changed in place, only given another text.

#pragma once

#include <memory>
#include <string>
#include <utility>

namespace tern::utility {

class SharedText {
public:
    // Made from any text and read as one, without a word, as the
    // std::wstring it stands in for.
    SharedText() = default;
    SharedText(std::wstring text)
        : text(text.empty() ? nullptr : std::make_shared<const std::wstring>(std::move(text))) {}
    SharedText(const wchar_t* text) : SharedText(std::wstring(text)) {}
    // Shares a text held elsewhere, and with it whatever `text` keeps: a
    // pointer into a block of many texts (the command table's) keeps the
    // block, and costs no allocation of its own.
    explicit SharedText(std::shared_ptr<const std::wstring> text)
        : text(text && !text->empty() ? std::move(text) : nullptr) {}
    operator const std::wstring&() const { return str(); }

    const std::wstring& str() const { return text ? *text : none(); }
    bool empty() const { return !text; }

    friend bool operator==(const SharedText& a, const SharedText& b) { return a.text == b.text || a.str() == b.str(); }
    friend bool operator==(const SharedText& a, const std::wstring& b) { return a.str() == b; }
    friend bool operator==(const std::wstring& a, const SharedText& b) { return a == b.str(); }
    friend bool operator==(const SharedText& a, const wchar_t* b) { return a.str() == b; }
    friend bool operator!=(const SharedText& a, const SharedText& b) { return !(a == b); }
    friend bool operator!=(const SharedText& a, const std::wstring& b) { return !(a == b); }
    friend bool operator!=(const std::wstring& a, const SharedText& b) { return !(a == b); }
    friend bool operator!=(const SharedText& a, const wchar_t* b) { return !(a == b); }

private:
    static const std::wstring& none() {
        static const std::wstring nothing;
        return nothing;
    }

    std::shared_ptr<const std::wstring> text; // null for the empty text
};

} // namespace tern::utility
