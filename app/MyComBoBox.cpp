#include "MyComBoBox.h"

bool CMyComboBox::PassesKey(WPARAM key) {
  return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_F1;
}

BOOL CMyComboBox::PreTranslateMessage(MSG *message) {
  if (message->message == WM_KEYDOWN && !PassesKey(message->wParam)) message->wParam = 0;
  return CComboBox::PreTranslateMessage(message);
}
