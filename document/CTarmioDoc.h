#pragma once

#include "data/DiskFile.h"
#include "data/RaceData.h"
#include "framework/CDocument.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <utility>
#include <vector>

// The program's one document: owns the race from New to DeleteContents and adds log and race
// files to it. Nothing is ever saved, and the document never marks itself modified.
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

    // What the views share beyond the race, as indices into the driver array: the rows selected
    // in the driver list and the driver under the pointer in the chart. Each change reaches the
    // other views as an update with its own hint; hint 0 alone means the race changed.
    static constexpr LPARAM kHintSelection = 1;
    static constexpr LPARAM kHintHover = 2;
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

    std::unique_ptr<RaceData> m_pRaceData;
    std::vector<FileIdentity> m_inputFiles;
    QString m_strLastFolder;
    int m_nFilterIndex = -1;
    std::vector<int> m_selectedDrivers;
    int m_nHoveredDriver = -1;
};
