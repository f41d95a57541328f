#include "document/RaceFollower.h"

#include "common/Prompt.h"
#include "document/CTarmioDoc.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"
#include "framework/FileNames.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTime>

namespace {

QString NameOf(const std::string& path) {
    return QFileInfo(QString::fromStdString(path)).fileName();
}

} // namespace

CRaceFollower::CRaceFollower(CTarmioDoc& document) : m_document(document) {
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(kQuietMs);
    m_poll.setInterval(kPollPeriodMs);
    connect(&m_quiet, &QTimer::timeout, this, [this] { ReadFiles(); });
    connect(&m_poll, &QTimer::timeout, this, [this] { PollFiles(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { OnFileChanged(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { OnFileChanged(); });
}

CRaceFollower::~CRaceFollower() = default;

void CRaceFollower::Follow(const QStringList& paths) {
    m_quiet.stop();
    m_poll.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_paths = paths;
    m_files.reset();
    m_status.clear();
    m_refusal.clear();
    if (paths.isEmpty())
        return;
    std::vector<std::string> encoded;
    for (const QString& path : paths)
        encoded.push_back(EncodeFileName(path).toStdString());
    // Every file the race holds was accepted, the different-track question included.
    m_files = std::make_unique<FollowedFiles>(std::move(encoded), IDYES);
    WatchPaths();
    ReadFiles();
}

void CRaceFollower::WatchPaths() {
    QStringList wanted;
    for (const QString& path : m_paths) {
        const QFileInfo info(path);
        if (info.exists())
            wanted << info.absoluteFilePath();
        wanted << info.absolutePath();
    }
    wanted.removeDuplicates();
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    QStringList missing;
    for (const QString& path : wanted)
        if (!watched.contains(path))
            missing << path;
    if (missing.isEmpty())
        return;
    // A folder that cannot be watched leaves only the once-a-second look.
    const QStringList failed = m_watcher.addPaths(missing);
    bool folderFailed = false;
    for (const QString& path : failed)
        folderFailed = folderFailed || QFileInfo(path).isDir();
    if (folderFailed && !m_poll.isActive()) {
        m_stamps = Stamps();
        m_poll.start();
    }
}

void CRaceFollower::OnFileChanged() {
    // A file replaced by rename is a new file: the watcher dropped the old one.
    WatchPaths();
    // A file that never goes quiet is still read now and then.
    if (!m_quiet.isActive())
        m_sinceFirstChange.start();
    else if (m_sinceFirstChange.elapsed() >= kLongestDelayMs) {
        m_quiet.stop();
        ReadFiles();
        return;
    }
    m_quiet.start();
}

std::vector<CRaceFollower::Stamp> CRaceFollower::Stamps() const {
    std::vector<Stamp> stamps;
    for (const QString& path : m_paths) {
        const QFileInfo info(path);
        stamps.push_back(info.exists() ? Stamp{true, info.size(), info.lastModified().toMSecsSinceEpoch()}
                                       : Stamp{});
    }
    return stamps;
}

void CRaceFollower::PollFiles() {
    std::vector<Stamp> now = Stamps();
    if (now == m_stamps)
        return;
    m_stamps = std::move(now);
    ReadFiles();
}

void CRaceFollower::ReadFiles() {
    if (!m_files)
        return;
    if (m_document.IsReadingFiles()) {
        m_quiet.start();
        return;
    }
    const FollowedFiles::ReadResult result = m_files->ReadAll();
    if (result.contentsChanged) {
        const RaceData* race = m_document.GetRaceData();
        const int sortKey = race != nullptr ? race->drivers->sortKey : kSortByRaceOrder;
        const bool descending = race != nullptr && race->drivers->descending;
        m_document.ReplaceRace(m_files->BuildRace(sortKey, descending));
    }
    ShowStatus(result);
}

void CRaceFollower::ShowStatus(const FollowedFiles::ReadResult& result) {
    if (result.contentsChanged) {
        m_lastUpdate = QTime::currentTime();
        m_refusal.clear();
    }
    for (const std::size_t index : result.stateChanged) {
        const FollowedFile& file = m_files->Files()[index];
        if (file.state == FollowState::kRefused)
            m_refusal = NameOf(file.path) + ": " + QString::fromStdString(file.message);
    }
    QStringList parts;
    for (const FollowedFile& file : m_files->Files())
        if (file.state == FollowState::kWaiting)
            parts
                << QString("Waiting for %1: %2").arg(NameOf(file.path), QString::fromStdString(file.message));
    if (!m_refusal.isEmpty())
        parts << m_refusal;
    if (const RaceData* race = m_document.GetRaceData())
        parts << QString("Updated %1, leader on lap %2")
                     .arg(m_lastUpdate.toString("HH:mm:ss"))
                     .arg(race->lapCount);
    m_status = parts.join("  ");
    if (CFrameWnd* frame = AfxGetMainWnd())
        frame->SetIdleMessage(m_status);
}
