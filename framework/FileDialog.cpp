#include "FileDialog.h"

#include "DialogCentring.h"
#include "Wnd.h"

IMPLEMENT_DYNAMIC(CFileDialog, CObject)

namespace {

// Room for a multiple selection: the folder and every file name.
constexpr size_t kFileBufferChars = 64 * 1024;

// The name part of a path: after the last separator.
int NameStart(const CString &path) {
  for (int i = path.GetLength() - 1; i >= 0; --i) {
    if (path[i] == L'\\' || path[i] == L'/' || path[i] == L':') return i + 1;
  }
  return 0;
}

} // namespace

std::vector<wchar_t> MakeFileDialogFilter(LPCTSTR filter) {
  std::vector<wchar_t> result;
  if (filter == nullptr || *filter == 0) return result;
  for (LPCTSTR p = filter; *p != 0; ++p) result.push_back(*p == L'|' ? L'\0' : *p);
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

CFileDialog::CFileDialog(BOOL openFileDialog, LPCTSTR defaultExt, LPCTSTR fileName, DWORD flags,
                         LPCTSTR filter, CWnd *parent)
    : m_bOpenFileDialog(openFileDialog), m_pParent(parent),
      m_strDefExt(defaultExt != nullptr ? defaultExt : L""), m_filter(MakeFileDialogFilter(filter)),
      m_fileBuffer(kFileBufferChars, L'\0') {
  if (fileName != nullptr) lstrcpynW(m_fileBuffer.data(), fileName, static_cast<int>(m_fileBuffer.size()));
  m_ofn.lStructSize = sizeof(m_ofn);
  m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
  m_ofn.lpstrFile = m_fileBuffer.data();
  m_ofn.nMaxFile = static_cast<DWORD>(m_fileBuffer.size());
  m_ofn.lpstrFileTitle = m_szFileTitle;
  m_ofn.nMaxFileTitle = MAX_PATH;
  m_ofn.lpstrDefExt = defaultExt != nullptr ? static_cast<LPCTSTR>(m_strDefExt) : nullptr;
  m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.data();
  m_ofn.nFilterIndex = m_filter.empty() ? 0 : 1;
}

INT_PTR CFileDialog::DoModal() {
  HWND owner = m_pParent != nullptr ? m_pParent->GetSafeHwnd() : ::GetActiveWindow();
  m_ofn.hwndOwner = owner;
  m_ofn.hInstance = nullptr;
  CDialogCentring centring(owner);
  BOOL chosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
  return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
  if ((m_ofn.Flags & OFN_ALLOWMULTISELECT) == 0) return CString(m_ofn.lpstrFile);
  POSITION position = GetStartPosition();
  return position != nullptr ? GetNextPathName(position) : CString();
}

CString CFileDialog::GetFileName() const {
  CString path = GetPathName();
  return path.Mid(NameStart(path));
}

CString CFileDialog::GetFileExt() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(L'.');
  return dot < 0 ? CString() : name.Mid(dot + 1);
}

CString CFileDialog::GetFileTitle() const {
  CString name = GetFileName();
  int dot = name.ReverseFind(L'.');
  return dot < 0 ? name : name.Left(dot);
}

CString CFileDialog::GetFolderPath() const {
  CString path = GetPathName();
  int start = NameStart(path);
  return start > 0 ? path.Left(start - 1) : CString();
}

// With a multiple selection the buffer holds the folder, a NUL, the names
// each followed by a NUL, and a final NUL; a single file is just its path.
// The position is the offset of the next name plus one.
POSITION CFileDialog::GetStartPosition() const {
  if (m_ofn.lpstrFile == nullptr || m_ofn.lpstrFile[0] == 0) return nullptr;
  return reinterpret_cast<POSITION>(static_cast<INT_PTR>(1));
}

CString CFileDialog::GetNextPathName(POSITION &position) const {
  LPCWSTR buffer = m_ofn.lpstrFile;
  size_t offset = static_cast<size_t>(reinterpret_cast<INT_PTR>(position)) - 1;
  position = nullptr;
  if (buffer == nullptr || offset >= m_ofn.nMaxFile) return CString();
  size_t folderLength = wcsnlen(buffer, m_ofn.nMaxFile);
  bool multiple = (m_ofn.Flags & OFN_ALLOWMULTISELECT) != 0 && folderLength + 1 < m_ofn.nMaxFile &&
                  buffer[folderLength + 1] != 0;
  if (!multiple) return CString(buffer);

  if (offset == 0) offset = folderLength + 1;
  LPCWSTR name = buffer + offset;
  size_t nameLength = wcsnlen(name, m_ofn.nMaxFile - offset);
  size_t next = offset + nameLength + 1;
  if (next < m_ofn.nMaxFile && buffer[next] != 0)
    position = reinterpret_cast<POSITION>(static_cast<INT_PTR>(next + 1));
  CString folder(buffer);
  if (folder.GetLength() > 0 && folder[folder.GetLength() - 1] != L'\\') folder += L'\\';
  return folder + CString(name);
}
