#include "XTPColorManager.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <string>

namespace {

// The weighted colour space: each channel scaled by how strongly the eye
// sees it, to the ranges 0..195, 0..390 and 0..65.
const double kScale[3] = {0.7647058823529411, 1.5294117647058822, 0.2549019607843137};
const double kUnscale[3] = {1.3076923076923077, 0.6538461538461539, 3.923076923076923};
const double kMaximum[3] = {195.0, 390.0, 65.0};

struct WeightedPoint {
  double v[3];
};

WeightedPoint ToWeighted(COLORREF clr) {
  return {{GetRValue(clr) * kScale[0], GetGValue(clr) * kScale[1], GetBValue(clr) * kScale[2]}};
}

COLORREF FromWeighted(const WeightedPoint &p) {
  int channel[3];
  for (int i = 0; i < 3; i++) {
    double x = std::clamp(p.v[i], 0.0, kMaximum[i]);
    channel[i] = std::clamp(static_cast<int>(x * kUnscale[i] + 0.5), 0, 255);
  }
  return RGB(channel[0], channel[1], channel[2]);
}

double Dot(const WeightedPoint &a, const WeightedPoint &b) {
  return a.v[0] * b.v[0] + a.v[1] * b.v[1] + a.v[2] * b.v[2];
}

BYTE ClampChannel(long long value) {
  return static_cast<BYTE>(std::clamp<long long>(value, 0, 255));
}

COLORREF ScaleChannels(COLORREF clr, int nNumerator, int nDenominator) {
  return RGB(GetRValue(clr) * nNumerator / nDenominator, GetGValue(clr) * nNumerator / nDenominator,
             GetBValue(clr) * nNumerator / nDenominator);
}

int LargestChannel(COLORREF clr) {
  return std::max({GetRValue(clr), GetGValue(clr), GetBValue(clr)});
}

struct SchemeColors {
  COLORREF clrEditBorder;
  COLORREF pairs[4][2];
};

// Blue, olive and silver schemes of the visual style.
const SchemeColors kSchemes[3] = {
    {0x962D00, {{0xD68759, 0x962D00}, {0xF5BE9E, 0xFADAC4}, {0xD68759, 0x962D00}, {0xFEECDD, 0xE2A981}}},
    {0x588060, {{0x82C0AF, 0x447A63}, {0xA7D9D9, 0xE4F1F2}, {0x6F8E78, 0x435B49}, {0xDEF7F4, 0x91C6B7}}},
    {0x947C7C, {{0xBFA7A8, 0x916F70}, {0xE5D7D7, 0xF7F3F3}, {0xBFA7A8, 0x977677}, {0xFAF4F3, 0xB59799}}},
};

const int kThemeColorBorder = 3801; // TMT_BORDERCOLOR

} // namespace

CXTPColorManager::CXTPColorManager() {
  std::fill(std::begin(m_arrCustomColor), std::end(m_arrCustomColor), CXTPPaintManagerColor::COLORREF_NULL);
  RefreshColors();
}

namespace {
BOOL g_bInstanceEnded = FALSE;
} // namespace

CXTPColorManager::~CXTPColorManager() {
  if (this == &Instance()) g_bInstanceEnded = TRUE;
}

CXTPColorManager &CXTPColorManager::Instance() {
  static CXTPColorManager manager;
  return manager;
}

BOOL CXTPColorManager::IsAlive() {
  return !g_bInstanceEnded;
}

COLORREF CXTPColorManager::GetColor(int nIndex) const {
  if (nIndex < 0 || nIndex > XPCOLOR_LAST) return static_cast<COLORREF>(nIndex);
  COLORREF clrCustom = m_arrCustomColor[nIndex];
  return clrCustom != CXTPPaintManagerColor::COLORREF_NULL ? clrCustom : m_arrStandardColor[nIndex];
}

void CXTPColorManager::SetColor(int nIndex, COLORREF clrCustom) {
  if (nIndex >= 0 && nIndex <= XPCOLOR_LAST) m_arrCustomColor[nIndex] = clrCustom;
}

COLORREF CXTPColorManager::BlendColors(COLORREF clr1, COLORREF clr2, int nPercent) {
  // Weights above the divisor would push channels past 255 and below 0 would
  // wrap them: keep every channel in range.
  const long long d = nPercent < 100 ? 100 : 1000;
  const long long p = nPercent;
  auto blend = [&](int a, int b) { return ClampChannel((a * p + b * (d - p) + d / 2) / d); };
  return RGB(blend(GetRValue(clr1), GetRValue(clr2)), blend(GetGValue(clr1), GetGValue(clr2)),
             blend(GetBValue(clr1), GetBValue(clr2)));
}

double CXTPColorManager::ColorDistance(COLORREF clr1, COLORREF clr2) {
  WeightedPoint a = ToWeighted(clr1), b = ToWeighted(clr2);
  WeightedPoint d = {{a.v[0] - b.v[0], a.v[1] - b.v[1], a.v[2] - b.v[2]}};
  return std::sqrt(Dot(d, d));
}

double CXTPColorManager::ColorBrightness(COLORREF clr) {
  return ColorDistance(clr, 0);
}

double CXTPColorManager::AdjustContrastDistance(double dBrightness, double dDistance) {
  double b = std::trunc(dBrightness), d = std::trunc(dDistance);
  return (2.0 - std::min(b, 220.0) / 220.0) * d;
}

BOOL CXTPColorManager::ColorsFarApart(COLORREF clr1, COLORREF clr2, BOOL bAdjust, double dDistance) {
  double threshold = bAdjust ? AdjustContrastDistance(ColorBrightness(clr1), dDistance) : dDistance;
  double distance = ColorDistance(clr1, clr2);
  return distance * distance > threshold * threshold;
}

COLORREF CXTPColorManager::PushColorAway(COLORREF clr1, COLORREF clr2, double dDistance) {
  const double b1 = ColorBrightness(clr1), b2 = ColorBrightness(clr2);
  const double d = AdjustContrastDistance(b1, dDistance);
  const bool towardBlack = b2 <= b1 ? b1 > d : 442.0 - d < b1;

  WeightedPoint p1 = ToWeighted(clr1), p2 = ToWeighted(clr2);
  if (!towardBlack) {
    for (int i = 0; i < 3; i++) {
      p1.v[i] = kMaximum[i] - p1.v[i];
      p2.v[i] = kMaximum[i] - p2.v[i];
    }
  }
  const double n = std::max(std::sqrt(Dot(p2, p2)), 0.001);
  const double t = Dot(p1, p2) / (n * n);
  WeightedPoint foot = {{t * p2.v[0] - p1.v[0], t * p2.v[1] - p1.v[1], t * p2.v[2] - p1.v[2]}};
  // When the ray passes farther from c1 than the wanted distance no point on
  // it is that far away; the nearest one (h = 0) is the best there is.
  const double h = std::sqrt(std::max(d * d - Dot(foot, foot), 0.0));
  const double s = Dot(p1, p2) / n - h;

  WeightedPoint result;
  for (int i = 0; i < 3; i++) {
    double x = s * p2.v[i] / n;
    result.v[i] = towardBlack ? x : kMaximum[i] - x;
  }
  return FromWeighted(result);
}

COLORREF CXTPColorManager::MoveColorToward(COLORREF clr1, COLORREF clr2, double dDistance) {
  const double distance = ColorDistance(clr1, clr2);
  if (distance <= 0.0) return clr2;
  const double d = AdjustContrastDistance(ColorBrightness(clr1), dDistance);
  WeightedPoint p1 = ToWeighted(clr1), p2 = ToWeighted(clr2), result;
  for (int i = 0; i < 3; i++) result.v[i] = p2.v[i] + (p1.v[i] - p2.v[i]) * (distance - d) / distance;
  return FromWeighted(result);
}

COLORREF CXTPColorManager::SystemColor(int nIndex) const {
  return m_pfnGetSysColor ? m_pfnGetSysColor(nIndex) : ::GetSysColor(nIndex);
}

int CXTPColorManager::DisplayBitsPerPixel() const {
  if (m_nDisplayBits > 0) return m_nDisplayBits;
  HDC hDC = ::GetDC(nullptr);
  if (!hDC) return 32;
  int bits = ::GetDeviceCaps(hDC, BITSPIXEL) * ::GetDeviceCaps(hDC, PLANES);
  ::ReleaseDC(nullptr, hDC);
  return bits;
}

void CXTPColorManager::RefreshColors(BOOL bOnlyOnce) {
  if (bOnlyOnce && m_bInit) return;
  m_bInit = TRUE;

  const bool palette = DisplayBitsPerPixel() <= 8;

  SetStandard(0, 0);
  for (int i = 1; i < 28; i++) SetStandard(i, SystemColor(i));
  SetStandard(28, 0);
  SetStandard(29, 0);

  static const struct {
    int nSource;
    int targets[9];
  } kDefaults[] = {
      {COLOR_BTNFACE, {30, 48, 51, 53, 55, 56}},
      {COLOR_WINDOW, {31, 36, 41}},
      {COLOR_HIGHLIGHT, {32, 33, 37, 50}},
      {COLOR_GRAYTEXT, {35}},
      {COLOR_BTNSHADOW, {34, 38, 39, 40, 42, 43, 52, 54, 57}},
      {COLOR_WINDOWTEXT, {44}},
      {COLOR_MENUTEXT, {45}},
      {COLOR_BTNTEXT, {46, 49}},
      {COLOR_HIGHLIGHTTEXT, {47}},
  };
  for (const auto &row : kDefaults)
    for (int target : row.targets)
      if (target) SetStandard(target, GetColor(row.nSource));

  if (!palette) {
    RefreshBlends();
    RefreshContrast();
  }
  RefreshGradients();
  if (!palette) RefreshLabelColor();
}

void CXTPColorManager::RefreshBlends() {
  static const int kBlends[][4] = {
      {30, 5, 15, 165}, {31, 13, 5, 30}, {33, 13, 5, 50},  {41, 15, 5, 143}, {35, 17, 5, 70},
      {38, 16, 5, 75},  {39, 16, 5, 70}, {43, 46, 16, 20}, {40, 16, 5, 90},  {42, 15, 16, 90},
  };
  for (const auto &row : kBlends)
    SetStandard(row[0], BlendColors(GetColor(row[1]), GetColor(row[2]), row[3]));

  if (ColorsFarApart(GetColor(15), GetColor(30), TRUE, 35.0))
    SetStandard(30, MoveColorToward(GetColor(15), GetColor(30), 35.0));
}

void CXTPColorManager::RefreshContrast() {
  static const int kContrast[][4] = {
      {31, 30, 31, 50},  {32, 30, 13, 100}, {33, 30, 33, 30},  {35, 41, 35, 80}, {37, 33, 37, 100},
      {38, 30, 38, 85},  {39, 30, 39, 50},  {43, 47, 43, 100}, {40, 30, 40, 80}, {44, 41, 44, 180},
      {45, 31, 45, 180}, {46, 30, 46, 180}, {47, 33, 47, 180},
  };
  for (const auto &row : kContrast)
    if (!ColorsFarApart(GetColor(row[1]), GetColor(row[2]), TRUE, row[3]))
      SetStandard(row[0], PushColorAway(GetColor(row[1]), GetColor(row[2]), row[3]));

  if (ColorsFarApart(GetColor(41), GetColor(35), TRUE, 145.0))
    SetStandard(35, MoveColorToward(GetColor(41), GetColor(35), 145.0));

  COLORREF window = GetColor(5), highlight = GetColor(13), face30 = GetColor(30);
  auto mix = [](int w, int h, int f) { return w * 40 / 100 + h * 10 / 100 + f * 50 / 100; };
  SetStandard(36, RGB(mix(GetRValue(window), GetRValue(highlight), GetRValue(face30)),
                      mix(GetGValue(window), GetGValue(highlight), GetGValue(face30)),
                      mix(GetBValue(window), GetBValue(highlight), GetBValue(face30))));

  const COLORREF face = GetColor(15);
  int m = LargestChannel(face);
  SetStandard(48, m == 0 ? 0x232323 : ScaleChannels(face, m + std::min(255 - m, 35), m));

  const COLORREF shadow = GetColor(16);
  m = LargestChannel(shadow);
  if (face == 0)
    SetStandard(49, 0x7F7F7F);
  else
    SetStandard(49, m == 0 ? 0 : ScaleChannels(shadow, std::max(m - 43, 0), m));

  SetStandard(34, ScaleChannels(GetColor(31), 3, 4));
  SetStandard(22, RGB(std::min(GetRValue(face) + 15, 255), std::min(GetGValue(face) + 15, 255),
                      std::min(GetBValue(face) + 15, 255)));
  SetStandard(53, GetColor(30));
}

void CXTPColorManager::RefreshGradients() {
  const COLORREF face = GetColor(15), shadow = GetColor(16), window = GetColor(5);
  const COLORREF blend = BlendColors(face, window, 205);
  m_grcGradient[0].SetStandardValue(shadow, shadow);
  m_grcGradient[1].SetStandardValue(face, blend);
  m_grcGradient[2].SetStandardValue(face, shadow);
  m_grcGradient[3].SetStandardValue(blend, face);

  if (m_bDisableSystemThemeColors) return;
  int theme = GetCurrentSystemTheme();
  if (theme < xtpSystemThemeBlue || theme > xtpSystemThemeSilver) return;
  const SchemeColors &scheme = kSchemes[theme - 1];
  SetStandard(XPCOLOR_EDITCTRLBORDER, scheme.clrEditBorder);
  for (int i = 0; i < 4; i++) m_grcGradient[i].SetStandardValue(scheme.pairs[i][0], scheme.pairs[i][1]);
}

void CXTPColorManager::RefreshLabelColor() {
  m_themeWrapper.OpenThemeData(nullptr, L"TREEVIEW");
  if (m_themeWrapper.IsAppThemed()) {
    COLORREF clr = GetColor(XPCOLOR_LABEL);
    if (SUCCEEDED(m_themeWrapper.GetThemeColor(0, 0, kThemeColorBorder, &clr)))
      SetStandard(XPCOLOR_LABEL, clr);
  }
  m_themeWrapper.CloseThemeData();
}

int CXTPColorManager::GetCurrentSystemTheme() const {
  if (m_nSystemTheme == xtpSystemThemeAuto || m_nSystemTheme == xtpSystemThemeDefault)
    return DetectVisualStyleTheme();
  return m_nSystemTheme;
}

int CXTPColorManager::DetectVisualStyleTheme() const {
  WCHAR fileName[MAX_PATH] = {}, colorName[MAX_PATH] = {};
  if (FAILED(m_themeWrapper.GetCurrentThemeName(fileName, MAX_PATH, colorName, MAX_PATH, nullptr, 0)))
    return xtpSystemThemeUnknown;
  fileName[MAX_PATH - 1] = colorName[MAX_PATH - 1] = 0;
  auto lower = [](const WCHAR *text) {
    std::wstring s(text);
    for (auto &c : s) c = static_cast<WCHAR>(std::towlower(c));
    return s;
  };
  if (lower(fileName).find(L"luna.msstyles") == std::wstring::npos) return xtpSystemThemeUnknown;
  std::wstring scheme = lower(colorName);
  if (scheme == L"normalcolor") return xtpSystemThemeBlue;
  if (scheme == L"homestead") return xtpSystemThemeOlive;
  if (scheme == L"metallic") return xtpSystemThemeSilver;
  return xtpSystemThemeUnknown;
}
