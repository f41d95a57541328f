#include "document/CTarmioDoc.h"

#include "common/CommandIds.h"
#include "data/DiskFile.h"
#include "data/RaceFileLoader.h"
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

} // namespace

const QString CTarmioDoc::kAddFilterText = QString::fromLatin1(kOwnFilterText) +
                                           QString::fromLatin1(kAllFilesCaption) +
                                           QString::fromLatin1(kAllFilesPattern);

CTarmioDoc::CTarmioDoc() {
    OnCommand(ID_FILE_ADD, [this] { OnFileAdd(); });
    OnCommand(ID_VIEW_REFRESH, [this] { OnViewRefresh(); });
    for (UINT id : {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS})
        OnUpdateCommandUI(id, [](CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); });
}

CTarmioDoc::~CTarmioDoc() = default;

BOOL CTarmioDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return FALSE;
    m_pRaceData = std::make_unique<RaceData>();
    return TRUE;
}

void CTarmioDoc::DeleteContents() {
    m_pRaceData.reset();
    m_selectedDrivers.clear();
    m_nHoveredDriver = -1;
    m_strLastFolder.clear();
    m_inputFiles.clear();
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
        m_strLastFolder = QFileInfo(QDir::cleanPath(QFileInfo(path).absoluteFilePath())).absolutePath();
        return merged;
    } catch (const FileException& error) {
        AfxMessageBox(QString::fromStdString(error.message()));
        return false;
    }
}

void CTarmioDoc::FinishAdd(bool merged) {
    SetTitle(TrackTitle(*m_pRaceData));
    if (merged)
        UpdateAllViews(nullptr, 0);
}

bool CTarmioDoc::IsInputFile(const QString& path) const {
    const auto identity = IdentifyFile(path);
    return identity && std::find(m_inputFiles.begin(), m_inputFiles.end(), *identity) != m_inputFiles.end();
}

void CTarmioDoc::OnViewRefresh() {
    UpdateAllViews(nullptr, 0);
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
