#pragma once

#include "data/RaceData.h"
#include "framework/CDocument.h"
#include "platform/FileIdentity.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

// The program's one document: owns the race from New to DeleteContents and adds log and race
// files to it. Nothing is ever saved, and the document never marks itself modified.
class CRaceFollower;

class CTarmioDoc : public CDocument {
public:
    // The Add dialog's file types; the first three are fixed, the last is the all-files entry.
    static const QString kAddFilterText;
    static constexpr int kDefaultFilterIndex = 3; // "All Log Files"

    CTarmioDoc();
    ~CTarmioDoc() override;

    // The current race, or null between DeleteContents and the next New.
    RaceData* GetRaceData() const { return m_pRaceData.get(); }
    const QString& GetLastFolder() const { return m_strLastFolder; }
    int GetFilterIndex() const { return m_nFilterIndex; }

    BOOL OnNewDocument() override;
    void DeleteContents() override;

    // Adds the files in order, as Add does after its dialog: per-file error reports, the title
    // set to the track name, one update of the views if anything was merged.
    void AddFiles(const QStringList& paths);

    // Whether path names one of the files added since New: the same device and inode, so that
    // links and other spellings of an input count too. Nothing is ever written over an input.
    bool IsInputFile(const QString& path) const;

    void OnFileAdd();
    void OnViewRefresh();

    // Reads every file the race was built from again, in the order they were added, into a fresh
    // race: what was accepted after the different-track question stays accepted, a file that can
    // no longer be read shows its message, and the selection, sort order and the views' settings
    // carry over. Nothing happens while the race has no files.
    void ReloadFiles();
    // The files merged into the race since New, in the order they were added.
    const QStringList& GetRaceFiles() const { return m_raceFiles; }
    // Puts a race built elsewhere in place of the current one, as a reload does.
    void ReplaceRace(std::unique_ptr<RaceData> race);

    // View, Follow Files: the race is read again whenever one of its files changes. Kept as the
    // setting "FollowFiles", off by default.
    bool IsFollowingFiles() const { return m_bFollowFiles; }
    void SetFollowingFiles(bool follow);
    // View, Distinct Colours: every driver in a colour of its own that reads on any background,
    // in place of the designed palette. Kept as the setting "DistinctColours", off by default.
    bool IsShowingDistinctColours() const { return m_bDistinctColours; }
    void SetDistinctColours(bool distinct);
    const CRaceFollower* GetFollower() const { return m_pFollower.get(); }
    // While Add or Reload reads files, a message box may run the event loop; the race must not be
    // replaced under them.
    bool IsReadingFiles() const { return m_nReadingFiles > 0; }

    // What the views share beyond the race, as indices into the driver array: the rows selected
    // in the driver list and the driver under the pointer in the chart. Each change reaches the
    // other views as an update with its own hint; hint 0 alone means the race changed.
    static constexpr LPARAM kHintSelection = 1;
    static constexpr LPARAM kHintHover = 2;
    // The race was replaced by one read again from its files; GetReplacedRace is the old race, alive until
    // every view has been told, so that views can find their drivers again by car byte and name.
    static constexpr LPARAM kHintRaceReplaced = 3;
    // The drivers' colours changed, nothing else.
    static constexpr LPARAM kHintColours = 4;
    // During the update with kHintRaceReplaced: the race before the reload; null otherwise.
    const RaceData* GetReplacedRace() const { return m_pReplacedRace.get(); }
    // The index of the driver in race with the car byte and name of driver, -1 when there is none.
    static int FindSameDriver(const RaceData& race, const DriverRecord& driver);
    const std::vector<int>& GetSelectedDrivers() const { return m_selectedDrivers; }
    void SetSelectedDrivers(CView* pSender, std::vector<int> drivers);
    // A click on a driver's curve: that driver alone, or with toggle added to or taken from the
    // selection, which stays in list order.
    void ClickDriver(CView* pSender, int driver, bool toggle);
    int GetHoveredDriver() const { return m_nHoveredDriver; }
    void SetHoveredDriver(CView* pSender, int driver);

private:
    // True when the file was merged; a file error is reported here and gives false.
    bool AddFile(const QString& path);
    void FinishAdd(bool merged);
    // Follows the race's files while following is on and there are any.
    void SyncFollower();

    std::unique_ptr<RaceData> m_pRaceData;
    // The race a reload replaced, while the views find their drivers again in the new one.
    std::unique_ptr<RaceData> m_pReplacedRace;
    std::vector<FileIdentity> m_inputFiles;
    QStringList m_raceFiles;
    QString m_strLastFolder;
    int m_nFilterIndex = -1;
    std::vector<int> m_selectedDrivers;
    int m_nHoveredDriver = -1;
    int m_nReadingFiles = 0;
    bool m_bFollowFiles = false;
    bool m_bFollowSettingRead = false;
    bool m_bDistinctColours = false;
    std::unique_ptr<CRaceFollower> m_pFollower;
};
