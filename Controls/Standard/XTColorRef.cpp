#include "XTColorRef.h"

const CXTColorRef CXTColorRef::BLACK(0, 0, 0);
const CXTColorRef CXTColorRef::WHITE(255, 255, 255);
const CXTColorRef CXTColorRef::GRAY_25(64, 64, 64);
const CXTColorRef CXTColorRef::GRAY_50(128, 128, 128);
const CXTColorRef CXTColorRef::GRAY_75(192, 192, 192);

int CXTColorRef::AddClamped(int a, int b) {
  long long sum = static_cast<long long>(a) + b;
  return sum < 0 ? 0 : sum > 255 ? 255 : static_cast<int>(sum);
}

CXTColorRef &CXTColorRef::Blend(const CXTColorRef &other, int nPercent) {
  auto mix = [nPercent](int mine, int theirs) {
    return AddClamped(static_cast<int>((static_cast<long long>(theirs) * nPercent +
                                        static_cast<long long>(mine) * (100 - nPercent)) /
                                       100),
                      0);
  };
  m_clr =
      RGB(mix(GetRed(), other.GetRed()), mix(GetGreen(), other.GetGreen()), mix(GetBlue(), other.GetBlue()));
  return *this;
}

CXTColorRef &CXTColorRef::Subtract(const CXTColorRef &other) {
  m_clr = RGB(AddClamped(GetRed(), -other.GetRed()), AddClamped(GetGreen(), -other.GetGreen()),
              AddClamped(GetBlue(), -other.GetBlue()));
  return *this;
}
