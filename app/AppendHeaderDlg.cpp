#include "AppendHeaderDlg.h"

#include "AppText.h"
#include "HelpFiles.h"
#include "HeaderFields.h"
#include "HeaderFile.h"
#include "QuendalVarnoth.h"
#include "SignatureStore.h"
#include "SearchedDriveGuard.h"
#include "resource.h"

#include <cstring>

namespace {

constexpr wchar_t kHiddenSignature[] = L"XXXXXXXXXXXX";
constexpr UINT kGroupTextIds[kHeaderGroupCount] = {
    IDS_GROUP_ALL,      IDS_GROUP_APPLICATION, IDS_GROUP_DATABASE,     IDS_GROUP_EMAIL, IDS_GROUP_DOCUMENT,
    IDS_GROUP_INTERNET, IDS_GROUP_MOVIE,       IDS_GROUP_OFFICE,       IDS_GROUP_TEXT,  IDS_GROUP_SOUND,
    IDS_GROUP_GRAPHIC,  IDS_GROUP_ARCHIVE,     IDS_GROUP_MISCELLANEOUS};

} // namespace

BEGIN_MESSAGE_MAP(CAppendHeaderDlg, CDialog)
ON_EN_CHANGE(IDC_APPEND_NAME, OnFieldChange)
ON_EN_CHANGE(IDC_APPEND_EXTENSION, OnFieldChange)
ON_EN_CHANGE(IDC_APPEND_SIGNATURE, OnFieldChange)
ON_EN_CHANGE(IDC_APPEND_OFFSET, OnFieldChange)
ON_NOTIFY(UDN_DELTAPOS, IDC_APPEND_UNIT_SPIN, OnUnitSpin)
ON_BN_CLICKED(ID_HELP, OnHelpButton)
END_MESSAGE_MAP()

CAppendHeaderDlg::CAppendHeaderDlg(std::vector<HeaderRecord> &records, HeaderRecord *edited,
                                   std::wstring path, uint8_t defaultGroup, CWnd *parent)
    : CDialog(IDD_APPEND_HEADER, parent), m_records(records), m_edited(edited), m_path(std::move(path)),
      m_group(defaultGroup < kHeaderGroupCount ? defaultGroup : 0) {
  m_notice = [this](UINT textId, UINT flags) {
    ::MessageBoxW(m_hWnd, LoadText(textId), kProductTitle, flags);
  };
}

BOOL CAppendHeaderDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The limits hold for pasted text as well as for typed keys.
  SendDlgItemMessage(IDC_APPEND_NAME, EM_LIMITTEXT, 255, 0);
  SendDlgItemMessage(IDC_APPEND_EXTENSION, EM_LIMITTEXT, 255, 0);
  SendDlgItemMessage(IDC_APPEND_SIGNATURE, EM_LIMITTEXT, 24, 0);
  SendDlgItemMessage(IDC_APPEND_OFFSET, EM_LIMITTEXT, 3, 0);
  // Seven digits: every kilobyte size that fits 32 bits can be typed.
  SendDlgItemMessage(IDC_APPEND_SIZE, EM_LIMITTEXT, 7, 0);
  SendDlgItemMessage(IDC_APPEND_UNIT, EM_SETREADONLY, TRUE, 0);
  SendDlgItemMessage(IDC_APPEND_UNIT_SPIN, UDM_SETBUDDY,
                     reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDC_APPEND_UNIT)), 0);
  ShowSizeUnit(kSizeUnitMegabytes);
  m_groupBox.SubclassDlgItem(IDC_APPEND_GROUP, this);
  for (UINT id : kGroupTextIds) m_groupBox.AddString(LoadText(id));
  m_groupBox.SetCurSel(m_group);
  if (m_edited) FillFromRecord(*m_edited);
  OnFieldChange();
  return TRUE;
}

std::wstring CAppendHeaderDlg::Text(int id) const {
  wchar_t text[261] = {};
  ::GetDlgItemTextW(m_hWnd, id, text, 261);
  return text;
}

void CAppendHeaderDlg::FillFromRecord(const HeaderRecord &record) {
  SetDlgItemText(IDC_APPEND_NAME, Wide(record.m_softwareName));
  SetDlgItemText(IDC_APPEND_EXTENSION, Wide(record.m_extension));
  SetDlgItemText(IDC_APPEND_OFFSET, std::to_wstring(record.m_offset).c_str());
  SetDlgItemText(IDC_APPEND_SIGNATURE,
                 record.m_predefined ? kHiddenSignature : SignatureText(record).c_str());
  SetDlgItemText(IDC_APPEND_SIZE, std::to_wstring(MaximumSizeNumber(record)).c_str());
  ShowSizeUnit(record.m_sizeUnit == kSizeUnitMegabytes ? kSizeUnitMegabytes : kSizeUnitKilobytes);
  SendDlgItemMessage(IDC_APPEND_GROUP, CB_SETCURSEL, record.m_group < kHeaderGroupCount ? record.m_group : 0,
                     0);
  if (!record.m_predefined) return;
  for (int id :
       {IDC_APPEND_NAME, IDC_APPEND_EXTENSION, IDC_APPEND_SIGNATURE, IDC_APPEND_OFFSET, IDC_APPEND_GROUP})
    ::EnableWindow(::GetDlgItem(m_hWnd, id), FALSE);
}

void CAppendHeaderDlg::OnFieldChange() {
  bool all = true;
  for (int id : {IDC_APPEND_NAME, IDC_APPEND_EXTENSION, IDC_APPEND_SIGNATURE, IDC_APPEND_OFFSET})
    all = all && !Text(id).empty();
  ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), all);
}

// The box shows the unit in the user's language; which unit is chosen is
// kept apart from that text, so no translation can change what is stored.
void CAppendHeaderDlg::ShowSizeUnit(uint8_t unit) {
  m_sizeUnit = unit;
  SetDlgItemText(IDC_APPEND_UNIT, LoadText(unit == kSizeUnitMegabytes ? IDS_UNIT_MB : IDS_UNIT_KB));
}

void CAppendHeaderDlg::OnUnitSpin(NMHDR *, LRESULT *result) {
  const bool toKilobytes = m_sizeUnit == kSizeUnitMegabytes;
  ShowSizeUnit(toKilobytes ? kSizeUnitKilobytes : kSizeUnitMegabytes);
  const std::wstring number = Text(IDC_APPEND_SIZE);
  uint32_t value = 0;
  for (wchar_t c : number)
    value = (c >= L'0' && c <= L'9' && value < 100000000) ? value * 10 + (c - L'0') : value;
  SetDlgItemText(IDC_APPEND_SIZE, std::to_wstring(FlipSizeUnit(value, toKilobytes)).c_str());
  *result = 0;
}

void CAppendHeaderDlg::Refuse(UINT textId) {
  m_notice(textId, MB_ICONSTOP | MB_TOPMOST);
  ::SetFocus(::GetDlgItem(m_hWnd, IDC_APPEND_SIGNATURE));
}

void CAppendHeaderDlg::OnOK() {
  const bool shipped = m_edited && m_edited->m_predefined;
  SignatureBytes signature;
  uint32_t offset = 0;
  if (!shipped) {
    signature = ParseSignatureText(Text(IDC_APPEND_SIGNATURE));
    if (signature.m_error) return Refuse(signature.m_error);
    const FieldNumber parsedOffset = ParseOffsetText(Text(IDC_APPEND_OFFSET));
    if (parsedOffset.m_error) return Refuse(parsedOffset.m_error);
    offset = parsedOffset.m_value;
  }
  const FieldNumber size = ParseSizeText(Text(IDC_APPEND_SIZE), m_sizeUnit);
  if (size.m_error) return Refuse(size.m_error);
  uint32_t maxSize = size.m_value;
  uint8_t sizeUnit = m_sizeUnit;
  const LRESULT group = SendDlgItemMessage(IDC_APPEND_GROUP, CB_GETCURSEL, 0, 0);
  const uint8_t groupByte = group > 0 && group < kHeaderGroupCount ? static_cast<uint8_t>(group) : 0;

  // The signature file on the drive being recovered is not written: the
  // dialog stays open with everything typed, and nothing changes.
  if (OnGuardedDrive(m_path)) {
    m_notice(IDS_SIGNATURES_ON_SEARCHED_DRIVE, MB_ICONSTOP | MB_TOPMOST);
    return;
  }

  HeaderRecord *target = m_edited;
  HeaderRecord made;
  if (!m_edited) {
    if (maxSize == 0) {
      m_notice(IDS_DEFAULT_HEADER_SIZE, MB_ICONINFORMATION | MB_TOPMOST);
      maxSize = 2u << 20;
      sizeUnit = kSizeUnitMegabytes;
    }
    target = &made;
  }
  if (!shipped) {
    target->m_softwareName = U16(Text(IDC_APPEND_NAME));
    target->m_extension = U16(Text(IDC_APPEND_EXTENSION));
    target->m_offset = offset;
    target->m_signatureLength = signature.m_length;
    std::memcpy(target->m_signature, signature.m_bytes, sizeof signature.m_bytes);
    target->m_group = groupByte;
  }
  target->m_maxSize = maxSize;
  target->m_sizeUnit = sizeUnit;
  m_group = target->m_group;
  if (!m_edited) {
    if (!AppendHeaderFileRecord(m_path, made)) {
      m_notice(IDS_APPEND_HEADER_FAILED, MB_ICONSTOP | MB_TOPMOST);
      EndDialog(IDCANCEL);
      return;
    }
    // The list takes the record even when it was empty before.
    m_records.push_back(made);
  }
  EndDialog(IDOK);
}

void CAppendHeaderDlg::OnHelpButton() {
  TheQvApp().ShowHelp(m_hWnd, IDH_APPEND_HEADER);
}
