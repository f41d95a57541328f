#pragma once

#include "app/Resource.h"
#include "framework/CWinApp.h"

// The application object. Views read the option bits through AfxGetApp().
class CTarmioApp : public CWinApp {
public:
    CTarmioApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    int m_nOptions = kDefaultOptions;
};

// The running application object, or null (tests without one).
inline CTarmioApp* AfxGetTarmioApp() { return static_cast<CTarmioApp*>(AfxGetApp()); }
