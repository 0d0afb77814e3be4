// The group box of the signature dialogs: its group changes only with the
// mouse. Every key-down it gets is cleared before the framework sees it,
// so no arrow, letter or page key moves the selection, and no character is
// made of it.
#pragma once

#include "Framework.h"

class CMyComboBox : public CComboBox {
public:
  BOOL PreTranslateMessage(MSG *message) override;

  // The keys left as they are: they move the focus on (Tab), end the dialog
  // (Enter, Escape) or ask for its help (F1), and none of them changes the
  // selection; clearing them too would hold the keyboard in the box.
  static bool PassesKey(WPARAM key);
};
