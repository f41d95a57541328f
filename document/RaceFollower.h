#pragma once

#include "data/FollowedFiles.h"

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTime>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

class CTarmioDoc;

// Reads the race's files again whenever they change, once the changes have been quiet for a
// moment, and puts the new race in the document's hands. The platform's notifications watch each
// file and its folder, so that a file replaced by rename is watched again; only where they cannot
// be had does a timer look at the files' sizes and times once a second. While nothing changes no
// timer runs. Never shows a message box: what goes wrong goes to the status bar.
class CRaceFollower : public QObject {
public:
    static constexpr int kQuietMs = 200;
    static constexpr int kLongestDelayMs = 1000;
    static constexpr int kPollPeriodMs = 1000;

    explicit CRaceFollower(CTarmioDoc& document);
    ~CRaceFollower() override;

    // Follows these files from now on (reading them at once); none stops following.
    void Follow(const QStringList& paths);
    bool IsFollowing() const { return m_files != nullptr; }
    // What the status bar says about following.
    const QString& GetStatusText() const { return m_status; }

private:
    struct Stamp {
        bool present = false;
        qint64 size = 0;
        qint64 modifiedMs = 0;
        bool operator==(const Stamp&) const = default;
    };

    void OnFileChanged();
    void WatchPaths();
    void PollFiles();
    void ReadFiles();
    void ShowStatus(const FollowedFiles::ReadResult& result);
    std::vector<Stamp> Stamps() const;

    CTarmioDoc& m_document;
    QStringList m_paths;
    std::unique_ptr<FollowedFiles> m_files;
    QFileSystemWatcher m_watcher;
    QTimer m_quiet;
    QElapsedTimer m_sinceFirstChange;
    QTimer m_poll;
    std::vector<Stamp> m_stamps;
    QString m_status;
    QString m_refusal; // shown until the race next changes
    QTime m_lastUpdate;
};
