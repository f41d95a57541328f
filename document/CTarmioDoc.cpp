#include "document/CTarmioDoc.h"

#include "common/CommandIds.h"
#include "common/SettingsKeys.h"
#include "data/DiskFile.h"
#include "data/DriverColours.h"
#include "data/RaceFileLoader.h"
#include "document/RaceFollower.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "framework/FileNames.h"
#include "framework/Prompter.h"
#include "framework/TextBytes.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <optional>

namespace {

constexpr const char* kOwnFilterText = "Lodrun Log Files (*.zq?)|*.zq?|"
                                       "Gravik Race Files(*.qr?;*.ra?;*.ch?)|*.qr?;*.ra?;*.ch?|"
                                       "All Log Files|*.zq?;*.qr?;*.ra?;*.ch?|";
constexpr const char* kAllFilesCaption = "All Files (*.*)";
constexpr const char* kAllFilesPattern = "|*.*||";

std::optional<FileIdentity> IdentifyFile(const QString& path) {
    return ::IdentifyFile(EncodeFileName(path).toStdString());
}

// Track names come from the files as single bytes of the game's Western code page.
QString TrackTitle(const RaceData& race) {
    return TextFromBytes(race.GetTrackName());
}

// A reload reads only files the race already accepted, so the different-track question has had
// its answer; every other message reaches the user as at Add.
class AcceptingPrompt : public IPrompt {
public:
    explicit AcceptingPrompt(IPrompt& prompt) : m_prompt(prompt) {}
    int MessageBox(const std::string& text, unsigned style) override {
        if ((style & MB_TYPEMASK) == MB_YESNO)
            return IDYES;
        return m_prompt.MessageBox(text, style);
    }

private:
    IPrompt& m_prompt;
};

// Counts a reading of files for as long as it lives.
class ReadingFiles {
public:
    explicit ReadingFiles(int& count) : m_count(count) { ++m_count; }
    ~ReadingFiles() { --m_count; }
    ReadingFiles(const ReadingFiles&) = delete;
    ReadingFiles& operator=(const ReadingFiles&) = delete;

private:
    int& m_count;
};

} // namespace

const QString CTarmioDoc::kAddFilterText = QString::fromLatin1(kOwnFilterText) +
                                           QString::fromLatin1(kAllFilesCaption) +
                                           QString::fromLatin1(kAllFilesPattern);

CTarmioDoc::CTarmioDoc() {
    OnCommand(ID_FILE_ADD, [this] { OnFileAdd(); });
    OnCommand(ID_VIEW_REFRESH, [this] { OnViewRefresh(); });
    OnCommand(ID_FILE_RELOAD, [this] { ReloadFiles(); });
    OnUpdateCommandUI(ID_FILE_RELOAD,
                      [this](CCmdUI* pCmdUI) { pCmdUI->Enable(m_raceFiles.isEmpty() ? FALSE : TRUE); });
    OnCommand(ID_VIEW_FOLLOWFILES, [this] { SetFollowingFiles(!m_bFollowFiles); });
    OnUpdateCommandUI(ID_VIEW_FOLLOWFILES,
                      [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bFollowFiles ? 1 : 0); });
    OnCommand(ID_VIEW_DISTINCTCOLOURS, [this] { SetDistinctColours(!m_bDistinctColours); });
    OnUpdateCommandUI(ID_VIEW_DISTINCTCOLOURS,
                      [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bDistinctColours ? 1 : 0); });
    for (UINT id : {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        OnUpdateCommandUI(id, [](CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); });
}

CTarmioDoc::~CTarmioDoc() = default;

BOOL CTarmioDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_pRaceData = std::make_unique<RaceData>();
    if (!m_bFollowSettingRead) {
        m_bFollowSettingRead = true;
        if (CWinApp* app = AfxGetApp()) {
            m_bFollowFiles = app->GetProfileInt(settings::kSection, settings::kFollowFiles, 0) != 0;
            m_bDistinctColours = app->GetProfileInt(settings::kSection, settings::kDistinctColours, 0) != 0;
        }
    }
    return TRUE;
}

void CTarmioDoc::DeleteContents() {
    m_pRaceData.reset();
    m_selectedDrivers.clear();
    m_nHoveredDriver = -1;
    m_strLastFolder.clear();
    m_inputFiles.clear();
    m_raceFiles.clear();
    SyncFollower();
    CDocument::DeleteContents();
}

void CTarmioDoc::OnFileAdd() {
    if (!m_pRaceData)
        return;
    if (m_nFilterIndex == -1)
        m_nFilterIndex = kDefaultFilterIndex;
    const FileOpenResult chosen =
        AfxGetPrompter().GetOpenFileNames({kAddFilterText, m_strLastFolder, m_nFilterIndex});
    if (!chosen.confirmed) {
        FinishAdd(false);
        return;
    }
    m_nFilterIndex = chosen.filterIndex;
    AddFiles(chosen.paths);
}

void CTarmioDoc::AddFiles(const QStringList& paths) {
    if (!m_pRaceData)
        return;
    bool merged = false;
    {
        const ReadingFiles reading(m_nReadingFiles);
        DeferLapStatistics oneRecomputation(*m_pRaceData);
        Prompter& prompter = AfxGetPrompter();
        const auto total = static_cast<int>(paths.size());
        // Progress goes from file to file: one file alone has none to show.
        const bool showProgress = total > 1;
        for (int done = 0; done < total; ++done) {
            // Cancelling, or a signal ending the program, keeps the files loaded so far.
            const QString& path = paths[done];
            if (AfxEventLoopsEnded() ||
                (showProgress && !prompter.ShowProgress(done, total, QFileInfo(path).fileName())))
                break;
            // One of several files: a refusal's box says which file it is about.
            if (showProgress)
                prompter.SetMessageSubject(QFileInfo(path).fileName());
            if (AddFile(path))
                merged = true;
        }
        prompter.SetMessageSubject(QString());
        if (showProgress)
            prompter.EndProgress();
    }
    FinishAdd(merged);
}

bool CTarmioDoc::AddFile(const QString& path) {
    try {
        DiskFile file(EncodeFileName(path).toStdString());
        if (const auto identity = IdentifyFile(path))
            m_inputFiles.push_back(*identity);
        const bool merged = LoadRaceFile(*m_pRaceData, file, AfxGetPrompter()) != 0;
        if (merged && !m_raceFiles.contains(path))
            m_raceFiles.append(path);
        m_strLastFolder = QFileInfo(QDir::cleanPath(QFileInfo(path).absoluteFilePath())).absolutePath();
        return merged;
    } catch (const FileException& error) {
        AfxMessageBox(QString::fromStdString(error.message()));
        return false;
    }
}

void CTarmioDoc::FinishAdd(bool merged) {
    SetTitle(TrackTitle(*m_pRaceData));
    // With the designed palette the colours stay exactly as the decoder handed them out.
    if (merged && m_bDistinctColours)
        ShowDriverColours(*m_pRaceData, true);
    if (merged)
        UpdateAllViews(nullptr, 0);
    if (merged && m_bFollowFiles)
        SyncFollower();
}

void CTarmioDoc::SetFollowingFiles(bool follow) {
    m_bFollowFiles = follow;
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(settings::kSection, settings::kFollowFiles, follow ? 1 : 0);
    SyncFollower();
}

void CTarmioDoc::SetDistinctColours(bool distinct) {
    m_bDistinctColours = distinct;
    if (CWinApp* app = AfxGetApp())
        app->WriteProfileInt(settings::kSection, settings::kDistinctColours, distinct ? 1 : 0);
    if (!m_pRaceData)
        return;
    ShowDriverColours(*m_pRaceData, distinct);
    UpdateAllViews(nullptr, kHintColours);
}

void CTarmioDoc::SyncFollower() {
    const QStringList paths = m_bFollowFiles && m_pRaceData ? m_raceFiles : QStringList();
    if (paths.isEmpty() && !m_pFollower)
        return;
    if (!m_pFollower)
        m_pFollower = std::make_unique<CRaceFollower>(*this);
    m_pFollower->Follow(paths);
    if (paths.isEmpty())
        if (CFrameWnd* frame = AfxGetMainWnd())
            frame->SetIdleMessage(QString());
}

bool CTarmioDoc::IsInputFile(const QString& path) const {
    const auto identity = IdentifyFile(path);
    return identity && std::find(m_inputFiles.begin(), m_inputFiles.end(), *identity) != m_inputFiles.end();
}

void CTarmioDoc::OnViewRefresh() {
    UpdateAllViews(nullptr, 0);
}

void CTarmioDoc::ReloadFiles() {
    if (!m_pRaceData || m_raceFiles.isEmpty())
        return;
    auto race = std::make_unique<RaceData>();
    race->drivers->sortKey = m_pRaceData->drivers->sortKey;
    race->drivers->descending = m_pRaceData->drivers->descending;
    {
        const ReadingFiles reading(m_nReadingFiles);
        DeferLapStatistics oneRecomputation(*race);
        AcceptingPrompt prompt(AfxGetPrompter());
        for (const QString& path : m_raceFiles) {
            try {
                DiskFile file(EncodeFileName(path).toStdString());
                LoadRaceFile(*race, file, prompt);
            } catch (const FileException& error) {
                AfxMessageBox(QString::fromStdString(error.message()));
            }
        }
    }
    ReplaceRace(std::move(race));
}

void CTarmioDoc::ReplaceRace(std::unique_ptr<RaceData> race) {
    if (!m_pRaceData || !race)
        return;
    std::vector<int> selected;
    for (const int index : m_selectedDrivers)
        if (const DriverRecord* driver = m_pRaceData->drivers->GetAt(index))
            if (const int found = FindSameDriver(*race, *driver); found >= 0)
                selected.push_back(found);
    std::sort(selected.begin(), selected.end());
    CarryColourSlots(*m_pRaceData, *race);
    if (m_bDistinctColours)
        ShowDriverColours(*race, true);
    // The old race lives until every view has found its drivers in the new one.
    m_pReplacedRace = std::exchange(m_pRaceData, std::move(race));
    m_selectedDrivers = std::move(selected);
    m_nHoveredDriver = -1;
    SetTitle(TrackTitle(*m_pRaceData));
    UpdateAllViews(nullptr, kHintRaceReplaced);
    m_pReplacedRace.reset();
}

int CTarmioDoc::FindSameDriver(const RaceData& race, const DriverRecord& driver) {
    for (int index = 0; index < race.drivers->GetCount(); ++index) {
        const DriverRecord* candidate = race.drivers->GetAt(index);
        if (candidate->car == driver.car && candidate->name == driver.name)
            return index;
    }
    return -1;
}

void CTarmioDoc::SetSelectedDrivers(CView* pSender, std::vector<int> drivers) {
    if (drivers == m_selectedDrivers)
        return;
    m_selectedDrivers = std::move(drivers);
    UpdateAllViews(pSender, kHintSelection);
}

void CTarmioDoc::ClickDriver(CView* pSender, int driver, bool toggle) {
    if (!toggle) {
        SetSelectedDrivers(pSender, {driver});
        return;
    }
    std::vector<int> drivers = m_selectedDrivers;
    const auto at = std::lower_bound(drivers.begin(), drivers.end(), driver);
    if (at != drivers.end() && *at == driver)
        drivers.erase(at);
    else
        drivers.insert(at, driver);
    SetSelectedDrivers(pSender, std::move(drivers));
}

void CTarmioDoc::SetHoveredDriver(CView* pSender, int driver) {
    if (driver == m_nHoveredDriver)
        return;
    m_nHoveredDriver = driver;
    UpdateAllViews(pSender, kHintHover);
}
