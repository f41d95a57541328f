// The rows of the driver list and what the list does to the race: refilling, sorting by a column
// and removing the selected drivers.

#include "common/CommandIds.h"
#include "data/DriverTexts.h"
#include "data/RaceData.h"
#include "driverlist/DriverView.h"
#include "framework/CDocument.h"
#include "framework/CFrameWnd.h"
#include "framework/CWinApp.h"

namespace {

enum DriverColumnIndex { kColumnName = 0, kColumnTime, kColumnLaps, kColumnFastestLap, kColumnId };

// The sort key of a clicked column, -1 for a column that does not sort.
int SortKeyOfColumn(int column) {
    switch (column) {
    case kColumnName:
        return kSortByName;
    case kColumnTime:
        return kSortByRaceOrder;
    case kColumnFastestLap:
        return kSortByFastestLap;
    default:
        return -1;
    }
}

} // namespace

// Every row is new afterwards, so the selection is gone.
void CDriverView::FillDriverList() {
    RaceData* race = GetRaceData();
    if (race == nullptr)
        return;
    m_wndDriverList.DeleteAllItems();
    const int driverCount = race->drivers->GetCount();
    SetRedraw(FALSE);
    for (int index = 0; index < driverCount; ++index) {
        DriverRecord* driver = race->drivers->GetAt(index);
        const DriverTexts texts = MakeDriverTexts(*driver);
        m_wndDriverList.InsertItem(index, texts.name, driver->colour);
        m_wndDriverList.CListCtrl::SetItemText(index, kColumnTime, texts.raceTime);
        m_wndDriverList.CListCtrl::SetItemText(index, kColumnLaps, texts.laps);
        m_wndDriverList.CListCtrl::SetItemText(index, kColumnFastestLap, texts.fastestLap);
        m_wndDriverList.CListCtrl::SetItemText(index, kColumnId, texts.id);
    }
    SetRedraw(TRUE);
    Invalidate();
}

// The race's order changes, but the graph is not told: it draws in array order on its next paint.
void CDriverView::OnListColumnClick(const NMLISTVIEW& columnClick) {
    RaceData* race = GetRaceData();
    if (race == nullptr)
        return;
    const int key = SortKeyOfColumn(columnClick.iSubItem);
    if (key == -1)
        return;
    race->Sort(key);
    FillDriverList();
    PublishSelection();
}

// Rows and drivers go by the same indices, so they stay aligned.
void CDriverView::DeleteSelectedDrivers() {
    RaceData* race = GetRaceData();
    if (race == nullptr || m_wndDriverList.GetSelectedCount() == 0)
        return;
    SetRedraw(FALSE);
    // The race loses them all at once, with one recomputation of its statistics.
    std::vector<int> rows;
    for (int row = m_wndDriverList.GetNextSelectedItem(-1); row != -1;
         row = m_wndDriverList.GetNextSelectedItem(row))
        rows.push_back(row);
    race->RemoveDrivers(rows);
    m_bQuietSelection = true;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        m_wndDriverList.DeleteItem(*row);
    m_bQuietSelection = false;
    SetRedraw(TRUE);
    PublishSelection();
    if (race->drivers->GetCount() == 0) {
        // An empty race is never left behind: New replaces it the usual way.
        if (CFrameWnd* mainWindow = AfxGetMainWnd())
            mainWindow->PostCommand(ID_FILE_NEW);
        return;
    }
    Invalidate();
    if (CDocument* document = GetDocument())
        document->UpdateAllViews(this, 0);
}
