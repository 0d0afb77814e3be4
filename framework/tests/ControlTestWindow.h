// A hidden top-level window that control tests create their controls in.
#pragma once

#include <gtest/gtest.h>

#include "Wnd.h"

class ControlTestWindow : public ::testing::Test {
protected:
  void SetUp() override {
    LPCTSTR windowClass = AfxRegisterWndClass(0, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
    ASSERT_TRUE(m_parent.CreateEx(0, windowClass, L"control test", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0,
                                  0, 500, 400, nullptr, nullptr));
  }
  void TearDown() override {
    if (m_parent.m_hWnd != nullptr) m_parent.DestroyWindow();
  }

  static CRect ChildRect() { return CRect(0, 0, 400, 300); }

  CWnd m_parent;
};
