#include "update/definition_file.h"
#include "update/updater.h"

namespace tern::update {

bool CUpdater::loadXml(const wchar_t* definitionPath) {
    return loadDefinitionFile(updates, definitionPath, getXmlRootName(), BareLayouts::skip);
}

const wchar_t* CUpdater::getXmlRootName() { return L"Update_Data"; }

} // namespace tern::update
