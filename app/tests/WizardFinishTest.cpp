// The wizard's Finish over results the user did not save: the offer to save
// them and the save's file dialog belong to the wizard, which stays disabled
// under them; a second Finish meanwhile, or while an engine, loader or writer
// call unwinds, is refused; "Yes" followed by a cancelled file dialog starts
// nothing, at Finish as at close.
#include "WizardTestFrame.h"

#include "SearchStart.h"

#include <algorithm>

namespace {

class WizardFinish : public WizardTestFrame {
protected:
  // Results of an earlier search that the user did not save, and a wizard
  // on the drive page with drive C: ticked for a fast search.
  MyPropertySheet &WizardOverUnsavedResults() {
    GiveDrives({LogicalDrive('C', u"FAT32")});
    m_app.DriveList = {LogicalDrive('C', u"FAT32")};
    EXPECT_TRUE(StartNewSearch(m_app, *m_frame, 0));
    m_app.ScanRunning = 0;
    m_app.ResultsPresent = 1;
    m_app.ScanInfoSaved = 0;
    MyPropertySheet &sheet = OpenModelessWizard();
    CMyTreeCtrl &tree = ToDrivePage(sheet, IDC_FAST_SEARCH).DriveTree();
    EXPECT_TRUE(ClickBox(tree, ItemOfRecord(tree, 0)));
    return sheet;
  }
  static int VisibleMessageBoxes() {
    int count = 0;
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM counter) -> BOOL {
          wchar_t className[16] = {}, title[128] = {};
          ::GetClassNameW(window, className, 16);
          ::GetWindowTextW(window, title, 128);
          if (::IsWindowVisible(window) && wcscmp(className, L"#32770") == 0 &&
              wcscmp(title, kProductTitle) == 0)
            ++*reinterpret_cast<int *>(counter);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
  }
  // Answers every message box that comes up with the button; done once one
  // was answered and none is left.
  static TimerScript::Step AnswerAllMessageBoxes(int button, int &answered) {
    return [button, &answered] {
      if (HWND box = FindMessageBox()) {
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        ++answered;
        return false;
      }
      return answered > 0;
    };
  }
};

TEST_F(WizardFinish, TheWizardOwnsTheSaveOfferAndAFinishUnderItIsRefused) {
  MyPropertySheet &sheet = WizardOverUnsavedResults();
  HWND offerOwner = nullptr;
  bool sheetEnabledUnderOffer = true;
  int mostBoxes = 0, ticks = 0, answered = 0;
  {
    TimerScript script({[&] {
                          HWND box = FindMessageBox();
                          if (box == nullptr) return false;
                          offerOwner = ::GetWindow(box, GW_OWNER);
                          sheetEnabledUnderOffer = ::IsWindowEnabled(sheet.m_hWnd) != FALSE;
                          // Finish again while "Save?" is open.
                          ::PostMessageW(sheet.m_hWnd, PSM_PRESSBUTTON, PSBTN_FINISH, 0);
                          return true;
                        },
                        [&] {
                          mostBoxes = std::max(mostBoxes, VisibleMessageBoxes());
                          return ++ticks >= 10;
                        },
                        AnswerAllMessageBoxes(IDNO, answered)},
                       [] {
                         if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                       });
    sheet.PressButton(PSBTN_FINISH);
  }
  EXPECT_EQ(offerOwner, sheet.m_hWnd);
  EXPECT_FALSE(sheetEnabledUnderOffer) << "the wizard takes no click under the offer";
  EXPECT_EQ(mostBoxes, 1) << "the second Finish offered again";
  EXPECT_EQ(answered, 1);
  // The first Finish alone started a search.
  EXPECT_TRUE(TakeStartMessage(UWM_START_FAST_SCAN));
  EXPECT_FALSE(TakeStartMessage(UWM_START_FAST_SCAN));
  EXPECT_EQ(m_app.ResultsPresent, 0) << "the new search replaced the results";
  EXPECT_EQ(m_app.ScanRunning, 1);
  m_app.ScanRunning = 0;
  m_app.StopRequested = 1;
}

TEST_F(WizardFinish, FinishIsRefusedWhileAnEngineCallUnwinds) {
  MyPropertySheet &sheet = WizardOverUnsavedResults();
  ScanSession *previous = m_app.Session.get();
  // As while the save of an earlier Finish writes the scan file.
  m_frame->EngineCallDepth = 1;
  int offers = 0;
  {
    TimerScript guard({[&] {
                        if (HWND box = FindMessageBox()) {
                          ++offers;
                          ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
                        }
                        return false;
                      }},
                      [] {});
    sheet.PressButton(PSBTN_FINISH);
  }
  EXPECT_EQ(offers, 0);
  EXPECT_FALSE(TakeStartMessage(UWM_START_FAST_SCAN));
  EXPECT_EQ(m_app.Session.get(), previous);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  EXPECT_EQ(sheet.GetActivePage(), &sheet.DrivePage()) << "the wizard stays open on its page";

  m_frame->EngineCallDepth = 0;
  {
    TimerScript answer({AnswerMessageBox(IDNO)}, [] {});
    sheet.PressButton(PSBTN_FINISH);
    EXPECT_TRUE(answer.Finished());
  }
  EXPECT_TRUE(TakeStartMessage(UWM_START_FAST_SCAN));
  m_app.ScanRunning = 0;
  m_app.StopRequested = 1;
}

TEST_F(WizardFinish, YesToTheOfferThenACancelledSaveDialogStartsNothing) {
  MyPropertySheet &sheet = WizardOverUnsavedResults();
  ScanSession *previous = m_app.Session.get();
  HWND dialogOwner = nullptr;
  bool sheetEnabledUnderDialog = true;
  {
    TimerScript script({AnswerMessageBox(IDYES),
                        [&] {
                          HWND dialog = FindDialog(L"Save Scan Information");
                          if (dialog == nullptr) return false;
                          dialogOwner = ::GetWindow(dialog, GW_OWNER);
                          sheetEnabledUnderDialog = ::IsWindowEnabled(sheet.m_hWnd) != FALSE;
                          return ClickInDialog(L"Save Scan Information", IDCANCEL)();
                        }},
                       [] {
                         if (HWND dialog = FindDialog(L"Save Scan Information"))
                           ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                       });
    sheet.PressButton(PSBTN_FINISH);
    EXPECT_TRUE(script.Finished());
  }
  EXPECT_EQ(dialogOwner, sheet.m_hWnd);
  EXPECT_FALSE(sheetEnabledUnderDialog);
  // The results stay, unsaved, and no search replaces them.
  EXPECT_FALSE(TakeStartMessage(UWM_START_FAST_SCAN));
  EXPECT_EQ(m_app.Session.get(), previous);
  EXPECT_EQ(m_app.ResultsPresent, 1);
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  EXPECT_EQ(m_app.ScanRunning, 0);
}

TEST_F(WizardFinish, YesToTheCloseOfferThenACancelledSaveDialogKeepsTheWindow) {
  WizardOverUnsavedResults().DestroyWindow();
  {
    TimerScript script({AnswerMessageBox(IDYES), ClickInDialog(L"Save Scan Information", IDCANCEL)}, [] {
      if (HWND dialog = FindDialog(L"Save Scan Information")) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
      if (HWND box = FindMessageBox()) ::PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    });
    m_frame->SendMessage(WM_CLOSE);
    EXPECT_TRUE(script.Finished());
  }
  ASSERT_TRUE(::IsWindow(m_frame->m_hWnd));
  EXPECT_EQ(m_frame->SaveCancelled, 1);
  EXPECT_EQ(m_app.ScanInfoSaved, 0);
  EXPECT_EQ(m_app.ResultsPresent, 1);
}

} // namespace
