// CSwappableSetting: a settings file whose colours can be exchanged between
// black and white, the base of the drawing and conversion settings classes.
//
// Its colours are the values of every attribute, anywhere in the document,
// whose name is "Color" or ends in "Color" (docs/settings-files.md). The
// object keeps the document as the file had it and changes nothing but those
// values, so a saved file differs from its original only where a colour was
// exchanged. The document lives in a COM apartment that the object holds
// open for as long as it lives; make, use and destroy it on one thread.

#pragma once

#include "components/utility/xml.h"
#include "platform/com_apartment.h"

#include <cstdint>
#include <string>

namespace tern::ui::setting {

class ISystemLineTypeSetting;

class CSwappableSetting {
public:
    CSwappableSetting();
    virtual ~CSwappableSetting();
    CSwappableSetting(const CSwappableSetting&) = delete;
    CSwappableSetting& operator=(const CSwappableSetting&) = delete;

    // Reads the file in place of what the object held: true when it is
    // well-formed XML. Otherwise the object holds nothing.
    bool loadXML(const std::wstring& path);

    // Turns every black colour (0) white (16777215) and every white one
    // black; other values, and everything else, stay as they are.
    void swapBW();

    // Writes the document to path, whole or not at all, in the encoding its
    // file had; true when the file holds it afterwards. A document that
    // nothing changed is not written back to the file it came from. False
    // when nothing is loaded or the file cannot be written (a read-only file,
    // for one), which is then left as it was.
    bool saveXML(const std::wstring& path) const;

protected:
    // How many colours of the document are black, and how many white.
    void countBlackAndWhite(std::int32_t& black, std::int32_t& white) const;

private:
    platform::ComApartment apartment; // declared first: the document lives in it
    utility::xml::Document document;
    std::wstring loadedPath;
    bool changed = false;
};

// A settings file whose loader the application gives its line types.
class CLineTypedSetting : public CSwappableSetting {
public:
    // Reads the file as CSwappableSetting::loadXML does: exchanging its
    // colours needs none of the line types.
    bool loadXML(const std::wstring& path, const ISystemLineTypeSetting& lineTypes);
};

} // namespace tern::ui::setting
