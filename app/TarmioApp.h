#pragma once

#include "common/CommandIds.h"
#include "common/Options.h"
#include "framework/CWinApp.h"

#include <QStringList>

class CTarmioDoc;

// The application object. Views read the option bits through AfxGetTarmioOptions().
class CTarmioApp : public CWinApp {
public:
    CTarmioApp();
    ~CTarmioApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Takes the program's arguments (without the program name): each one names a file to add.
    void ParseCommandLine(const QStringList& arguments);
    CTarmioDoc* GetDocument() const;

    int m_nOptions = kDefaultOptions;

private:
    void OnAppAbout();
    void ToggleOption(int bit);

    QStringList m_commandLineFiles;
};

// The running application object, or null (tests without one).
inline CTarmioApp* AfxGetTarmioApp() {
    return static_cast<CTarmioApp*>(AfxGetApp());
}
