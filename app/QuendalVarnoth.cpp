// The program's application object. For now it opens the main window with
// the program's menu and accelerators; the search, the views and the
// settings join it as they are built.
#include "Framework.h"
#include "resource.h"

namespace {

const wchar_t kProductName[] = L"Quendal Varnoth File Recovery";

class CMainFrame : public CFrameWnd {
public:
  CMainFrame() = default;
};

class CQuendalVarnothApp : public CWinApp {
public:
  CQuendalVarnothApp() : CWinApp(kProductName) {}

  BOOL InitInstance() override {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    auto *frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
      delete frame;
      return FALSE;
    }
    frame->SetWindowText(kProductName);
    m_pMainWnd = frame;
    frame->ShowWindow(SW_SHOWMAXIMIZED);
    frame->UpdateWindow();
    return TRUE;
  }
};

CQuendalVarnothApp theApp;

} // namespace
