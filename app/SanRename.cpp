#include "SanRename.h"

#include "QuendalVarnoth.h"
#include "resource.h"

namespace {

constexpr size_t kMaxProposedName = 259;

} // namespace

std::wstring ProposeScanFileName(const std::wstring &existing, uint8_t codePlus128, uint8_t driveCode,
                                 const std::function<bool(const std::wstring &)> &exists) {
  const size_t slash = existing.rfind(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : existing.substr(0, slash + 1);
  const std::wstring base =
      folder + L"HardDrv" + std::to_wstring(codePlus128) + L"_LogDrv" + std::to_wstring(driveCode) + L"_Scan";
  std::wstring candidate = base.substr(0, kMaxProposedName);
  for (uint32_t counter = 1; exists(candidate + L".DAT") && counter != 0; ++counter) {
    const std::wstring next = base + std::to_wstring(counter);
    // A counter cut off by the limit changes nothing: the name stays taken.
    if (next.size() > kMaxProposedName) break;
    candidate = next;
  }
  return candidate;
}

bool ScanFileExists(const std::wstring &path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

BEGIN_MESSAGE_MAP(CSanRename, CDialog)
ON_BN_CLICKED(IDOK, OnRenameScanFile)
ON_BN_CLICKED(IDC_RENAME_OVERWRITE, OnOverwriteScanFile)
END_MESSAGE_MAP()

CSanRename::CSanRename(const std::wstring &existing, uint8_t codePlus128, uint8_t driveCode, CWnd *parent)
    : CDialog(IDD_SCAN_RENAME, parent), m_existing(existing), m_codePlus128(codePlus128),
      m_driveCode(driveCode) {
  m_proposed = ProposeScanFileName(m_existing, m_codePlus128, m_driveCode, ScanFileExists);
}

BOOL CSanRename::OnInitDialog() {
  CDialog::OnInitDialog();
  SetDlgItemText(IDC_RENAME_NEW_NAME, m_proposed.c_str());
  SetDlgItemText(IDC_RENAME_EXISTING, m_existing.c_str());
  return TRUE;
}

void CSanRename::OnRenameScanFile() {
  CQuendalVarnothApp &app = TheQvApp();
  CString typed;
  GetDlgItemText(IDC_RENAME_NEW_NAME, typed);
  CString trimmed = typed;
  trimmed.Trim();
  if (trimmed.IsEmpty()) {
    // An empty name would save as ".DAT" in whatever folder is current.
    CString text;
    text.LoadString(IDS_SCAN_FILE_NAME_EMPTY);
    ::MessageBoxW(m_hWnd, text, kProductTitle, MB_ICONSTOP | MB_TOPMOST);
    GetDlgItem(IDC_RENAME_NEW_NAME)->SetFocus();
    return;
  }
  std::wstring name = std::wstring(typed.GetString()).substr(0, 260) + L".DAT";
  lstrcpynW(app.ScanMessageBuffers[5], name.c_str(), 260);
  app.RenameChosen = 1;
  app.RenameCancelled = 0;
  app.RenameOverwrite = 0;
  EndDialog(IDOK);
}

void CSanRename::OnOverwriteScanFile() {
  CQuendalVarnothApp &app = TheQvApp();
  app.RenameChosen = 0;
  app.RenameCancelled = 0;
  app.RenameOverwrite = 1;
  EndDialog(kOverwriteResult);
}

void CSanRename::OnCancel() {
  CQuendalVarnothApp &app = TheQvApp();
  app.RenameChosen = 0;
  app.RenameCancelled = 1;
  app.RenameOverwrite = 0;
  EndDialog(IDCANCEL);
}
