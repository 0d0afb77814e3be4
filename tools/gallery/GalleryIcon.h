// The gallery's small pictures, drawn at run time: no art is shipped.
#pragma once

#include <functional>

#include "Framework.h"

// An icon of the size, painted twice by the painter: on the mask, filled
// white, the picture goes in black; on the colours, filled black, in its
// colours.
HICON MakeGalleryIcon(CSize size, const std::function<void(HDC hDC, BOOL bMask)> &paint);

// A 16-pixel square of the colour in a grey frame, for commands' icons.
HICON MakeGallerySquareIcon(COLORREF clr);
