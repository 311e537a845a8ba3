// The update flow: works out from the folders found whether a previous
// release's settings can be inherited, asks the user, then inherits (layout
// and settings transfer) or clears the old settings, and stamps the running
// release's folder with the installed version.

#include "update/updater.h"

#include "host/main_frame.h"
#include "platform/file_system.h"
#include "update/file_events.h"
#include "update/path_limit.h"
#include "update/read_only_file.h"
#include "update/select_inherit_app_setting_dlg.h"
#include "update/user_questions.h"
#include "update/version_file.h"
#include "update/version_text.h"

namespace tern::update {

namespace {

// What the folders offer: the running release's own folder is up to date
// (Current) or older (RefreshCurrent), there is nothing to inherit, a
// previous release's folder was found, or only the stamp is due.
enum class Outcome { Current, NothingToInherit, RefreshCurrent, InheritPrevious, StampOnly };

// The question asked when another product left settings but the running one
// has nothing to inherit; it is built here, not loaded from the resources.
const wchar_t* const inheritPatronText = L"OrvoLumenPatronの設定が存在します。\n設定を引き継ぎますか？";

// The folder that holds a release folder: the text up to the second
// backslash from the end. Empty when there is none, or when it is the
// first character.
std::wstring editionFolderOf(const std::wstring& releaseFolder) {
    int backslashes = 0;
    for (std::size_t i = releaseFolder.size(); i-- > 0;) {
        if (releaseFolder[i] == L'\\' && ++backslashes == 2)
            return i == 0 ? std::wstring() : releaseFolder.substr(0, i + 1);
    }
    return {};
}

std::wstring releaseFolder(const std::wstring& editionFolder, std::int32_t version) {
    return editionFolder + std::to_wstring(version) + L"_x64\\";
}

bool isUsableFolder(const std::wstring& folder) { return !folder.empty() && isExistingFolder(folder); }

} // namespace

// One run of the flow, with the working values of that run.
class UpdateFlow {
public:
    UpdateFlow(CUpdater& updater, const core::IMainFrame& frame) : updater(updater), frame(frame) {}

    bool run() {
        if (updater.updates.size() < 2 || !readCurrentFolders())
            return false;
        analyseFolders();
        if (lumenRowDecided)
            probeAlternative();
        if (!act())
            return false;
        stampVersion();
        return true;
    }

private:
    bool readCurrentFolders() {
        appData = frame.getAppDataFolder();
        userData = frame.getUserDataFolder();
        if (!isUsableFolder(appData) || !isUsableFolder(userData))
            return false;
        appBase = editionFolderOf(appData);
        userBase = editionFolderOf(userData);
        return !appBase.empty() && !userBase.empty();
    }

    // The first row whose edition test holds decides; a failing folder test
    // leaves nothing to inherit.
    void analyseFolders() {
        const CUpdater& u = updater;
        if (u.patronEdition)
            return decide(u.hasPatronFolder || hasLumenPatronFolder, &UpdateFlow::singleSearch, appData);
        if (u.civicEdition)
            return decide(u.hasCivicFolder, &UpdateFlow::doubleSearch, userData);
        if (u.lumenLine) {
            lumenRowDecided = true;
            const bool vista = u.hasVistaFolder && appData.find(L"OrvoVista") != std::wstring::npos;
            return decide(u.hasLumenFolder || vista, &UpdateFlow::doubleSearch, userData);
        }
        if (u.hasOrvoFolder)
            return decide(true, &UpdateFlow::doubleSearch, userData);
        if (u.hasOrvo2012Folder)
            return inheritFixed2012Folder();
        outcome = Outcome::NothingToInherit;
    }

    // A new release folder searches for a previous release; an existing one
    // is checked against the running version.
    void decide(bool folderFound, void (UpdateFlow::*search)(), const std::wstring& currentFolder) {
        if (!folderFound)
            outcome = Outcome::NothingToInherit;
        else if (updater.hasCurrentFolder)
            checkCurrentFolder(currentFolder);
        else
            (this->*search)();
    }

    // Only the minor numbers are compared: the running release's own folder
    // holds the same major.
    void checkCurrentFolder(const std::wstring& folder) {
        onlyTemplates = updater.checkOnlyTemplateFolderExists(folder.c_str());
        std::wstring text;
        if (!readVersionFile(text, (appData + L"version.xml").c_str())) {
            const bool vista = folder == userData && userData.find(L"OrvoVista") != std::wstring::npos;
            outcome = vista || updater.lumenLine ? Outcome::RefreshCurrent : Outcome::StampOnly;
            return;
        }
        std::int32_t folderMinor = 0;
        parseMinor(folderMinor, text);
        outcome = updater.minor > folderMinor ? Outcome::RefreshCurrent : Outcome::Current;
    }

    void singleSearch() {
        const std::int32_t version = updater.searchPrevAppData(updater.major, appBase.c_str());
        if (version <= 0) {
            outcome = Outcome::NothingToInherit;
            return;
        }
        previousFolder = releaseFolder(appBase, version);
        onlyTemplates = updater.checkOnlyTemplateFolderExists(previousFolder.c_str());
        outcome = Outcome::InheritPrevious;
    }

    // The previous release is looked for among the user-data folders first;
    // its application-data folder is then taken on trust.
    void doubleSearch() {
        const std::int32_t version = updater.searchPrevAppData(updater.major, userBase.c_str());
        if (version <= 0)
            return singleSearch();
        previousFolder = releaseFolder(appBase, version);
        previousUserFolder = releaseFolder(userBase, version);
        onlyTemplates = updater.checkOnlyTemplateFolderExists(previousUserFolder.c_str());
        outcome = Outcome::InheritPrevious;
    }

    void inheritFixed2012Folder() {
        previousFolder = updater.vendorRoot + L"Orvo\\Orvo\\2012\\";
        onlyTemplates = updater.checkOnlyTemplateFolderExists(previousFolder.c_str());
        outcome = Outcome::InheritPrevious;
    }

    // An earlier release of the other product of the current line.
    void probeAlternative() {
        if (!hasLumenPatronFolder)
            return;
        const std::wstring alternativeBase = updater.vendorRoot + L"OrvoLumen\\OrvoLumenPatron\\";
        const std::int32_t version = updater.searchPrevAppData(updater.major, alternativeBase.c_str());
        if (version > 0) {
            alternativeFolder = releaseFolder(alternativeBase, version);
            alternativeFound = true;
        }
    }

    // Asks and does what the outcome calls for; false when nothing is due,
    // not even the stamp.
    bool act() {
        if (alternativeFound && (outcome == Outcome::NothingToInherit || outcome == Outcome::InheritPrevious)) {
            chooseBetweenProducts();
            return true;
        }
        switch (outcome) {
        case Outcome::Current:
            return alternativeFound;
        case Outcome::NothingToInherit:
            updater.deleteOldSetting(frame);
            return true;
        case Outcome::InheritPrevious:
            if (updater.askTransferSetting(onlyTemplates))
                inherit(true);
            else
                updater.deleteOldSetting(frame);
            return true;
        case Outcome::RefreshCurrent:
            if (onlyTemplates)
                refreshWithTemplates();
            else if (updater.askTransferSetting(false))
                updater.updateLayout(frame.getAppDataFolder(), frame);
            else
                updater.deleteOldSetting(frame);
            return true;
        case Outcome::StampOnly:
            return true;
        }
        return true;
    }

    void chooseBetweenProducts() {
        if (outcome == Outcome::NothingToInherit) {
            if (!askUser(core::Question::inheritPatronSettings, inheritPatronText))
                return updater.deleteOldSetting(frame);
            previousFolder = alternativeFolder;
            return inherit(true);
        }
        SelectInheritAppSettingDlg dialog;
        dialog.selection = 0;
        if (dialog.DoModal() != 1)
            return updater.deleteOldSetting(frame);
        if (dialog.selection == 1)
            previousFolder = alternativeFolder;
        inherit(true);
    }

    void inherit(bool copyTemplates) {
        updater.updateLayout(previousFolder.c_str(), frame);
        updater.transferSetting(previousFolder.c_str(), previousUserFolder.c_str(), frame, copyTemplates);
    }

    // The running release's own folder is older and holds nothing but
    // templates: look for a previous release to inherit from, and ask
    // whether the templates found are to be kept.
    void refreshWithTemplates() {
        std::int32_t version = updater.searchPrevAppData(updater.major, userBase.c_str());
        if (version > 0) {
            previousUserFolder = releaseFolder(userBase, version);
            previousFolder = releaseFolder(appBase, version);
        } else {
            previousUserFolder.clear();
            version = updater.searchPrevAppData(updater.major, appBase.c_str());
            if (version > 0)
                previousFolder = releaseFolder(appBase, version);
        }
        if (version > 0 && updater.askTransferSetting(false)) {
            const bool keepTemplates = updater.askTransferSetting(true);
            if (!keepTemplates)
                updater.forceDeleteLayerTemplates(frame);
            inherit(!keepTemplates);
        } else if (updater.askTransferSetting(true)) {
            updater.updateLayout(frame.getAppDataFolder(), frame);
        } else {
            updater.forceDeleteLayerTemplates(frame);
        }
    }

    // Copies the installed version file over the release folder's, the
    // read-only bit cleared before the copy and after it (a copy brings the
    // source's attributes along).
    void stampVersion() {
        const std::wstring stamp = appData + L"version.xml";
        const std::wstring installed = std::wstring(frame.getResourceFolder()) + L"ja\\version.xml";
        clearReadOnlyAttribute(stamp);
        copyReplacing(installed, stamp);
        clearReadOnlyAttribute(stamp);
    }

    CUpdater& updater;
    const core::IMainFrame& frame;
    std::wstring appData, userData, appBase, userBase;
    Outcome outcome = Outcome::Current;
    std::wstring previousFolder, previousUserFolder, alternativeFolder;
    bool onlyTemplates = false;
    bool lumenRowDecided = false;
    bool alternativeFound = false;
};

bool CUpdater::excute(const core::IMainFrame& frame) { return UpdateFlow(*this, frame).run(); }

} // namespace tern::update
