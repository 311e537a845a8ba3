// CUpdater: what the application calls when a release starts for a user.
//
// run() prepares the running release's per-user folders, reads the running
// version, records which earlier products and editions left folders behind
// under the vendor folder, loads the update definition and hands over to the
// update flow, then copies the shipped initial settings and refreshes the
// shipped layer templates. It returns -1 when the folders are unusable, 1
// when the flow or a copy did something, and 0 otherwise, also when an
// exception (running out of memory) ended the run: none leaves it. What
// the run does or declines to do is told to the host's run report
// (host/run_report.h) as it happens: a -1 as `refused`, with its cause and
// the path concerned, and the result as `finished`.
//
// Only one CUpdater may run at a time: one flag of the run is module-level.

#pragma once

#include "tnupdate_export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tern::core {
class IMainFrame;
}
namespace tern::update::layout {
class LayoutTable;
}

namespace tern::update {

class UpdateData;
class UpdateFlow;

// Whether vendorRoot + "OrvoLumen\OrvoLumenPatron\" existed at the last run.
// Written by run, read by the update flow.
extern bool hasLumenPatronFolder;

class TNUPDATE_EXPORT CUpdater {
public:
    CUpdater();
    virtual ~CUpdater();
    CUpdater(const CUpdater&) = delete;
    CUpdater& operator=(const CUpdater&) = delete;

    // The entry: -1, 0 or 1 as described above. definitionPath names the
    // update definition; it also names the edition ("Patron", "Civic").
    int run(const wchar_t* definitionPath, const tern::core::IMainFrame& frame, bool lumenLine);

    // Reads the running release's version into versionText; false keeps it.
    bool readVersion(const tern::core::IMainFrame& frame);
    // Empties the entries and tables and loads the definition.
    bool setup(const wchar_t* definitionPath);
    // Appends the definition's entries to updates.
    bool loadXml(const wchar_t* definitionPath);

    static const wchar_t* getXmlRootName();
    const wchar_t* getPatronKey() const;

protected:
    friend class UpdateFlow;

    // The update flow: decides what to inherit and does it.
    virtual bool excute(const tern::core::IMainFrame& frame);

    // Carries the layout file of sourceFolder (a previous release's
    // application-data folder, or this release's own) into this release's
    // application-data folder. The entries newer than the source's version
    // (findPrevVer) apply, oldest first: their layout items to every layout
    // mode of every layout type, their setting-file edits to this release's
    // copies of the files, copied from sourceFolder only where this release
    // has none. sourceFolder is only read, unless it is this release's folder
    // (named in any letter case), which is then edited in place.
    // True only when an item changed the layout and the layout file was
    // written. False for a null or empty source or current folder (nothing is
    // written relative to the working folder), no entry to apply, a layout
    // file that cannot be read, a table that cannot be set up or committed
    // (no layout file is written), or a failed save (the old file stays).
    // Once the tables are built, the setting-file edits run whatever the
    // result. The working tables stay in `tables` until the next setup or
    // the destruction.
    bool updateLayout(const wchar_t* sourceFolder, const tern::core::IMainFrame& frame);
    // Copies a previous release's settings, work data and (with
    // copyTemplates) templates into this release's folders, converting the
    // settings of releases up to 2012.9. An empty previousUserFolder means
    // previousFolder serves for both.
    bool transferSetting(const wchar_t* previousFolder, const wchar_t* previousUserFolder,
                         const tern::core::IMainFrame& frame, bool copyTemplates);
    bool transferSetting(const wchar_t* previousFolder, const wchar_t* previousUserFolder,
                         const tern::core::IMainFrame& frame);
    // Deletes the files directly inside this release's "Config\",
    // "InitialConfig\" and user-data "WorkData\" folders, so the application
    // starts from its defaults. Sub-folders and their contents stay, and so
    // do read-only files and the folders themselves. A link to a file goes as
    // an entry of its own; a link to a folder stays as sub-folders do; none
    // is followed. A folder the host leaves empty is skipped.
    void deleteOldSetting(const tern::core::IMainFrame& frame) const;
    // Empties the folder that holds the user's layer templates: the template
    // folder's "Layer\", which run fills with the shipped templates and the
    // settings transfer copies a previous release's templates into. Nothing
    // of the system writes templates below the application-data folder, so
    // that is not the place to clear. Templates directly inside are deleted,
    // read-only ones included; sub-folders are emptied and removed (a
    // read-only file inside one stays, and so does its folder). "Layer"
    // itself stays; links are removed as entries, never followed. Nothing
    // is deleted when the host names no template folder.
    void forceDeleteLayerTemplates(const tern::core::IMainFrame& frame) const;
    // Asks whether to inherit (or, with onlyTemplates, whether to use the
    // layer templates found); true for Yes.
    bool askTransferSetting(bool onlyTemplates) const;

    // The highest major below `major` with a release folder in editionFolder, or 0.
    std::int32_t searchPrevAppData(std::int32_t major, const wchar_t* editionFolder) const;
    // The version of the state in a release folder.
    bool inspectVersion(std::int32_t& major, std::int32_t& minor, const wchar_t* releaseFolder) const;
    // The index in updates that stands for the given previous version, or -1.
    std::int32_t findPrevVer(std::int32_t major, std::int32_t minor) const;
    // Whether folder holds a "Templates" folder and nothing else.
    bool checkOnlyTemplateFolderExists(const wchar_t* folder) const;

    void clearEntries();

    // Owned; destroyed by clearEntries.
    std::vector<UpdateData*> updates;
    // Owned; destroyed by clearEntries.
    std::vector<layout::LayoutTable*> tables;
    std::wstring versionText = L"2012";
    std::int32_t major = 2012;
    std::int32_t minor = 0;
    std::wstring vendorRoot;
    bool lumenLine = false;
    bool patronEdition = false;
    bool civicEdition = false;
    bool hasLumenFolder = false;
    bool hasVistaFolder = false;
    bool hasOrvoFolder = false;
    bool hasOrvo2012Folder = false;
    bool hasPatronFolder = false;
    bool hasCivicFolder = false;
    bool hasCurrentFolder = false;

private:
    // run's work, whose result run reports as the run's end.
    int runSteps(const wchar_t* definitionPath, const tern::core::IMainFrame& frame, bool lumen);
};

} // namespace tern::update
