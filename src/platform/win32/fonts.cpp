#include "platform/win32/fonts.h"

#include <string_view>

#include "platform/win32/dpi.h"

namespace vornick::win32 {
namespace {

// Chinese UI faces in order of preference: Windows first, then what Wine and
// Linux desktops usually have.
constexpr std::wstring_view kUiFaces[] = {L"Microsoft YaHei UI", L"Microsoft YaHei", L"SimSun",
                                          L"WenQuanYi Micro Hei", L"Noto Sans CJK SC", L"Droid Sans Fallback"};
constexpr std::wstring_view kComboFaces[] = {L"新宋体", L"NSimSun", L"SimSun", L"WenQuanYi Micro Hei Mono",
                                             L"WenQuanYi Micro Hei"};

constexpr int kUiHeight = -12;     // 9 pt at 96 DPI
constexpr int kComboHeight = -13;  // the combo boxes' own size
constexpr int kReadOutHeight = -14;

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(std::wstring_view face) {
  LOGFONTW query{};
  query.lfCharSet = DEFAULT_CHARSET;
  face.copy(query.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  WindowDc screen(nullptr);
  EnumFontFamiliesExW(screen.get(), &query, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

// The first installed face of the list; the first entry when none is, so
// the font mapper still picks some face with GB2312 glyphs.
template <std::size_t N>
std::wstring_view FirstInstalled(const std::wstring_view (&faces)[N]) {
  for (std::wstring_view face : faces)
    if (FaceInstalled(face)) return face;
  return faces[0];
}

Font MakeFont(std::wstring_view face, int height, int weight, BYTE quality) {
  LOGFONTW lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = GB2312_CHARSET;
  lf.lfOutPrecision = OUT_TT_PRECIS;
  lf.lfQuality = quality;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  face.copy(lf.lfFaceName, LF_FACESIZE - 1);
  return Font(CreateFontIndirectW(&lf));
}

}  // namespace

FormFonts::FormFonts(UINT dpi, bool smooth) {
  const std::wstring_view ui = FirstInstalled(kUiFaces);
  const BYTE quality = smooth ? CLEARTYPE_QUALITY : NONANTIALIASED_QUALITY;
  auto make = [&](FontKind kind, std::wstring_view face, int height, int weight) {
    fonts_[static_cast<std::size_t>(kind)] = MakeFont(face, -ScaleToDpi(-height, dpi), weight, quality);
  };
  make(FontKind::Default, ui, kUiHeight, FW_NORMAL);
  make(FontKind::ComboBox, FirstInstalled(kComboFaces), kComboHeight, FW_NORMAL);
  make(FontKind::Bold, ui, kUiHeight, FW_BOLD);
  make(FontKind::ReadOut, ui, kReadOutHeight, FW_NORMAL);
}

}  // namespace vornick::win32
