// The program's main frame made in the test with the program's resources,
// a drive list the test gives in place of the system's, and the helpers
// that drive the search wizard the way a user does.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppEngineServices.h"
#include "AppFrameTest.h"
#include "DriveSource.h"
#include "FatScanEngine.h"
#include "LeftView.h"
#include "MainFrm.h"
#include "MyPropertySheet.h"
#include "QuendalVarnoth.h"
#include "QuendalVarnothDoc.h"
#include "RecordFields.h"
#include "ScanSession.h"
#include "XTPToolBar.h"
#include "resource.h"

class WizardTestFrame : public AppFrameTest {
protected:
  void TearDown() override {
    m_app.WizardSheet.reset();
    AppFrameTest::TearDown();
  }
  void GiveDrives(std::vector<DriveRecord> drives) {
    m_app.DriveFinder = std::make_unique<FixedDriveSource>(std::move(drives));
  }

  // A wizard made like Run Wizard's but modeless, so the test drives it step by step.
  MyPropertySheet &OpenModelessWizard() {
    auto sheet = std::make_unique<MyPropertySheet>(L"", m_frame, 0);
    MyPropertySheet &wizard = *sheet;
    m_app.WizardSheet = std::move(sheet);
    wizard.SetWizardMode();
    EXPECT_TRUE(wizard.Create(m_frame));
    return wizard;
  }
  // Walks from the search-type page to the drive page with the kind chosen.
  CSelectSearchDriveDlg &ToDrivePage(MyPropertySheet &sheet, UINT kindButton) {
    ClickButton(sheet.SearchTypePage(), kindButton);
    sheet.PressButton(PSBTN_NEXT);
    return sheet.DrivePage();
  }
  // Takes the start message Finish posted to the frame, if there is one.
  bool TakeStartMessage(UINT message) {
    MSG taken;
    return PeekMessageW(&taken, m_frame->m_hWnd, message, message, PM_REMOVE) != 0;
  }
  // A fast search of the FAT volume on the drive, run in place as the
  // search's start message would run it.
  void RunFatFastSearch(uint8_t drive) {
    ScanSession::Target target;
    target.m_driveCode = drive;
    target.m_sectors = m_app.Devices->Device(drive)->SizeInBytes() / 512;
    m_app.Session =
        std::make_unique<ScanSession>(m_frame->EngineServices(), *m_app.Devices, ScanKind::FatVolume, target);
    m_app.FatEngine = m_app.Session->Fat();
    m_app.ScanRunning = 1;
    m_app.StopRequested = 0;
    m_app.Session->Fat()->RunFatFastScan();
  }
  static bool SheetButtonEnabled(CPropertySheet &sheet, int id) {
    HWND button = ::GetDlgItem(sheet.m_hWnd, id);
    return button != nullptr && ::IsWindowVisible(button) && ::IsWindowEnabled(button);
  }
  // The last step of a wizard script: Finish, which the wizard must offer by then.
  static std::function<bool()> PressWizardFinish(MyPropertySheet *&sheet) {
    return [&sheet] {
      EXPECT_TRUE(SheetButtonEnabled(*sheet, ID_WIZFINISH));
      sheet->PressButton(PSBTN_FINISH);
      return true;
    };
  }
  // What a wizard script that gave up cancels, so the test ends: the message
  // box it stopped at and the wizard.
  static std::function<void()> CancelWizard(MyPropertySheet *&sheet);
  static void ClickButton(CWnd &page, UINT id) {
    ::SendMessageW(::GetDlgItem(page.m_hWnd, id), BM_CLICK, 0, 0);
  }

  // The tree item whose drive record is the given one.
  static HTREEITEM ItemOfRecord(CMyTreeCtrl &tree, int record) {
    std::vector<HTREEITEM> pending = {tree.GetRootItem()};
    while (!pending.empty()) {
      HTREEITEM item = pending.back();
      pending.pop_back();
      if (item == nullptr) continue;
      if (tree.HasBox(item) && static_cast<int>(tree.GetItemData(item)) == record) return item;
      for (HTREEITEM child = tree.GetChildItem(item); child != nullptr;
           child = tree.GetNextSiblingItem(child))
        pending.push_back(child);
    }
    return nullptr;
  }
  // A mouse click on the item's check box, found by the control's own hit test.
  static bool ClickBox(CMyTreeCtrl &tree, HTREEITEM item) {
    tree.EnsureVisible(item);
    CRect text;
    if (item == nullptr || !tree.GetItemRect(item, &text, TRUE)) return false;
    const int y = (text.top + text.bottom) / 2;
    for (int x = text.left - 1; x >= 0; --x) {
      UINT flags = 0;
      if (tree.HitTest(CPoint(x, y), &flags) == item && flags == TVHT_ONITEMSTATEICON) {
        // The control follows the button until it comes up: let it find the release.
        tree.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        tree.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        return true;
      }
    }
    return false;
  }
};

// Steps run one per tick of a thread timer, so they also run inside modal
// loops (the wizard's, a message box's). A step returns false to be tried
// again at the next tick. After too many ticks the script gives up and
// cancels what is open, so a failing test ends instead of hanging.
class TimerScript {
public:
  using Step = std::function<bool()>;
  // maxTicks: how long to wait before giving up; the shell's own dialogs
  // (the folder picker walks every drive) want more on a busy machine.
  TimerScript(std::vector<Step> steps, std::function<void()> giveUp, int maxTicks = 1500)
      : m_steps(std::move(steps)), m_giveUp(std::move(giveUp)), m_maxTicks(maxTicks) {
    s_current = this;
    m_timer = ::SetTimer(nullptr, 0, 20, &TimerScript::OnTick);
  }
  ~TimerScript() {
    ::KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  bool Finished() const { return m_next >= m_steps.size(); }
  bool GaveUp() const { return m_gaveUp; }
  // The step the script is at (the one it gave up on, if it did).
  size_t CurrentStep() const { return m_next; }

private:
  static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) {
    TimerScript *script = s_current;
    if (script == nullptr || script->m_running) return;
    script->m_running = true; // a step may run a modal loop of its own
    if (!script->Finished() && script->m_steps[script->m_next]()) ++script->m_next;
    if (!script->Finished() && ++script->m_ticks > script->m_maxTicks && !script->m_gaveUp) {
      script->m_gaveUp = true;
      script->m_giveUp();
    }
    script->m_running = false;
  }

  static inline TimerScript *s_current = nullptr;
  std::vector<Step> m_steps;
  std::function<void()> m_giveUp;
  UINT_PTR m_timer = 0;
  size_t m_next = 0;
  int m_ticks = 0;
  int m_maxTicks;
  bool m_running = false;
  bool m_gaveUp = false;
};

// The thread's visible message box, if one is up.
inline HWND FindMessageBox() {
  HWND found = nullptr;
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM result) -> BOOL {
        wchar_t className[16] = {};
        ::GetClassNameW(window, className, 16);
        if (wcscmp(className, L"#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
        wchar_t title[128] = {};
        ::GetWindowTextW(window, title, 128);
        if (wcscmp(title, kProductTitle) != 0) return TRUE;
        *reinterpret_cast<HWND *>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

// A step that answers the product's message box with the button.
inline TimerScript::Step AnswerMessageBox(int button) {
  return [button] {
    HWND box = FindMessageBox();
    if (box == nullptr) return false;
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return true;
  };
}

// The text a message box shows.
inline std::wstring MessageBoxTextOf(HWND box) {
  wchar_t text[1024] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 1024);
  return text;
}

// A step that reads the text of the product's message box and answers it
// with the button (OK by default).
inline TimerScript::Step ReadMessageBox(std::wstring &told, int button = IDOK) {
  return [&told, button] {
    HWND box = FindMessageBox();
    if (box == nullptr) return false;
    told = MessageBoxTextOf(box);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    return true;
  };
}

// Whether the frame's toolbar "Standard" shows the command's button enabled.
inline bool ToolBarOffers(CMainFrame *frame, UINT id) {
  CXTPToolBar *bar = frame->GetStandardToolBar();
  CXTPControl *button = bar != nullptr ? bar->GetControls()->FindControl(static_cast<int>(id)) : nullptr;
  return button != nullptr && button->GetEnabled();
}

inline std::function<void()> WizardTestFrame::CancelWizard(MyPropertySheet *&sheet) {
  return [&sheet] {
    if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (sheet != nullptr) sheet->PressButton(PSBTN_CANCEL);
  };
}

// Runs the action; a message box the search shows meanwhile (an unreadable
// or invalid drive) is answered with OK and its text returned.
inline std::wstring AnswerBoxWhile(const std::function<void()> &action) {
  std::wstring boxText;
  TimerScript watch({ReadMessageBox(boxText)}, [] {});
  action();
  return boxText;
}

// The thread's visible dialog with the caption, if one is up.
inline HWND FindDialog(const wchar_t *caption) {
  struct Search {
    const wchar_t *m_caption;
    HWND m_found;
  } search{caption, nullptr};
  ::EnumThreadWindows(
      ::GetCurrentThreadId(),
      [](HWND window, LPARAM data) -> BOOL {
        auto *s = reinterpret_cast<Search *>(data);
        wchar_t className[16] = {}, title[128] = {};
        ::GetClassNameW(window, className, 16);
        ::GetWindowTextW(window, title, 128);
        if (wcscmp(className, L"#32770") != 0 || !::IsWindowVisible(window) ||
            wcscmp(title, s->m_caption) != 0)
          return TRUE;
        s->m_found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.m_found;
}

// A step that clicks a button of the dialog with the caption.
inline TimerScript::Step ClickInDialog(const wchar_t *caption, int button) {
  return [caption, button] {
    HWND dialog = FindDialog(caption);
    if (dialog == nullptr) return false;
    ::SendMessageW(::GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    return true;
  };
}

// The dialog's button clicked, posted so that a modal loop takes it.
inline void PressDialogButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The record dialog of the signature dialogs.
inline constexpr wchar_t kRecordDialog[] = L"Append Header File";

// A step in the record dialog, once it is up with no message box over it:
// fill, then the button.
inline TimerScript::Step InRecordDialog(std::function<void(HWND)> fill, int button) {
  return [fill, button] {
    HWND record = FindDialog(kRecordDialog);
    if (record == nullptr || FindMessageBox() != nullptr) return false;
    fill(record);
    PressDialogButton(record, button);
    return true;
  };
}

// A logical drive as the drive list gives it.
inline DriveRecord LogicalDrive(char letter, const char16_t *fileSystem, uint8_t biosDisk = 0x80,
                                const char16_t *type = u"FIXED") {
  DriveRecord drive;
  drive.m_name = std::u16string(1, static_cast<char16_t>(letter)) + u":\\";
  drive.m_typeText = type;
  drive.m_sizeText = u"9.998 GB";
  drive.m_fileSystem = fileSystem;
  drive.m_driveCode = static_cast<uint8_t>(letter - 'A');
  drive.m_biosDiskCode = biosDisk;
  drive.m_sectors = 20480;
  drive.m_model = "QEMU HARDDISK";
  drive.m_firmwareRevision = "2.5+";
  return drive;
}

inline DriveRecord PhysicalDisk(int number) {
  DriveRecord disk;
  const std::string digits = std::to_string(number);
  disk.m_name = u"Disk " + std::u16string(digits.begin(), digits.end());
  disk.m_biosDiskCode = static_cast<uint8_t>(0x7F + number);
  disk.m_sectors = 40960;
  disk.m_model = "DISK" + std::to_string(number);
  disk.m_firmwareRevision = "1.0";
  return disk;
}
