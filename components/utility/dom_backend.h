// What each DOM backend (posix/, win32/) gives the XML functions that are
// written once (xml.cpp): documents made from a file's bytes or from text,
// and a document's bytes. Reading and writing the files themselves, and
// the functions built on the handles alone, are done once for both.

#pragma once

#include "components/utility/xml.h"

#include <memory>
#include <string>

namespace tern::platform {
class FileWriter;
}

namespace tern::utility::xml {

// Where and why the parser found a text not well-formed: its own reason
// (empty when it gives none) and the 1-based line (0 when it does not say).
struct ParseFailure {
    std::wstring reason;
    int line = 0;
};

// What a document is loaded for: to be edited and saved, keeping all the
// file had, or only to be read (loadForReading).
enum class LoadFor { saving, reading };

// Parses a file's bytes, decoded as xml_encoding.h decides, into a new
// document that remembers their encoding. The bytes are given up to the
// backend, which may keep them as the document's text rather than copy
// them. Null when they cannot be decoded,
// hold entities (entity_references.h) or are not one well-formed document.
// `problem` says why in the first two cases and is left empty otherwise,
// when `failure` says what the parser found. A document loaded for reading
// keeps no more than it must (xml.h). Raises DomError when the DOM fails.
std::shared_ptr<DocumentImpl> parseFile(std::string bytes, LoadFor purpose, std::wstring& problem,
                                        ParseFailure& failure);

// Parses text into a new document, to be written as UTF-8; null when it
// holds entities or is not one well-formed document. Raises DomError when
// the DOM fails.
std::shared_ptr<DocumentImpl> parseText(const std::wstring& text);

// Writes the whole document as bytes in its encoding; false when a write
// fails or a character that has no representation in that encoding stands
// where no character reference can take its place (xml_encoding.h), and
// for a document loaded for reading.
bool printFile(DocumentImpl& document, platform::FileWriter& writer);

// How the backends and the shared functions reach into a document handle.
struct DocumentAccess {
    static std::shared_ptr<DocumentImpl>& impl(Document& document) { return document.impl; }
    static const std::shared_ptr<DocumentImpl>& impl(const Document& document) { return document.impl; }
};

} // namespace tern::utility::xml
