// One section of the gallery: a titled band of the window that shows one
// toolkit piece. Pieces added later bring their own section; those with
// windows of their own create them as children of the gallery's view.
#pragma once

#include "Framework.h"

#include <memory>
#include <vector>

class CGallerySection {
public:
  virtual ~CGallerySection() = default;
  virtual LPCTSTR GetTitle() const = 0;
  // Height of the body below the title.
  virtual int GetHeight() const = 0;
  virtual void Draw(CDC *pDC, const CRect &rcBody) = 0;
  // For sections with child windows: called once the body's place is known.
  virtual void Create(CWnd * /*pParent*/, const CRect & /*rcBody*/) {}
};

// Every section, in the order the gallery shows them.
std::vector<std::unique_ptr<CGallerySection>> MakeGallerySections();
