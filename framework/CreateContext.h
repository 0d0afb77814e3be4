// What a frame needs to create its views: the view class and the document
// they show.
#pragma once

#include "Object.h"

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

struct CCreateContext {
  CRuntimeClass *m_pNewViewClass = nullptr;
  CDocument *m_pCurrentDoc = nullptr;
  CDocTemplate *m_pNewDocTemplate = nullptr;
  CView *m_pLastView = nullptr;
  CFrameWnd *m_pCurrentFrame = nullptr;
};
