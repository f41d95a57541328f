#include "app/TarmioApp.h"

#include "app/AboutDlg.h"
#include "app/MainFrame.h"
#include "common/SettingsKeys.h"
#include "document/CTarmioDoc.h"

namespace {
const char* const kRegistryKey = "VAZ";
// Window title, document name, new-file name, filter name and extension, registry type and name.
const char* const kDocumentStrings =
    "TarmioView\n\nTarmioView\nLog Files\n.ZQN\nTarmio.Document\nTarmioView Document";
} // namespace

CTarmioApp::CTarmioApp() : CWinApp("TarmioView") {
    TarmioOptionsSource() = &m_nOptions;
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_OPTIONS_FLICKERFREE, [this] { ToggleOption(kOptionFlickerFree); });
    OnUpdateCommandUI(ID_OPTIONS_FLICKERFREE,
                      [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck((m_nOptions & kOptionFlickerFree) != 0); });
    OnCommand(ID_OPTIONS_AUTOZOOM, [this] { ToggleOption(kOptionAutoZoom); });
    OnUpdateCommandUI(ID_OPTIONS_AUTOZOOM,
                      [this](CCmdUI* pCmdUI) { pCmdUI->SetCheck((m_nOptions & kOptionAutoZoom) != 0); });
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
}

void CTarmioApp::ParseCommandLine(const QStringList& arguments) {
    m_commandLineFiles.clear();
    for (const QString& argument : arguments) {
        // Switches are not files; paths start with '/' here, so only '-' marks a switch.
        if (!argument.startsWith('-'))
            m_commandLineFiles.append(argument);
    }
}

BOOL CTarmioApp::InitInstance() {
    SetRegistryKey(kRegistryKey);
    m_nOptions = GetProfileInt(settings::kSection, settings::kGeneralOptions, m_nOptions);
    SetDocumentType(
        kDocumentStrings, [] { return std::make_unique<CTarmioDoc>(); },
        [] { return std::make_unique<CMainFrame>(); });
    if (!NewDocument())
        return FALSE;
    // Files named at start-up are added to the new race, as File Add adds them.
    if (!m_commandLineFiles.isEmpty())
        GetDocument()->AddFiles(m_commandLineFiles);
    m_pMainWnd->setAcceptDrops(true);
    return TRUE;
}

int CTarmioApp::ExitInstance() {
    WriteProfileInt(settings::kSection, settings::kGeneralOptions, m_nOptions);
    return CWinApp::ExitInstance();
}

CTarmioDoc* CTarmioApp::GetDocument() const {
    return static_cast<CTarmioDoc*>(CWinApp::GetDocument());
}

CTarmioApp::~CTarmioApp() {
    if (TarmioOptionsSource() == &m_nOptions)
        TarmioOptionsSource() = nullptr;
}

void CTarmioApp::ToggleOption(int bit) {
    m_nOptions ^= bit;
}

void CTarmioApp::OnAppAbout() {
    CAboutDlg aboutDlg;
    aboutDlg.DoModal();
}
