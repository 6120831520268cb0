#include "output/hub/WXText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <locale>

#include "prefs/PrefRecords.h"
#include "framework/LException.h"
#include "framework/LWindow.h"
#include "output/hub/CFSConverter.h"
#include "quickdraw/QDOffscreen.h"
#include "quickdraw/QuickDrawText.h"
#include "support/TestEnv.h"
#include "tests/output/DialogTestEnv.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/TextConvert.h"

namespace {

namespace fs = std::filesystem;

std::string FromP(ConstStr255Param s) { return std::string(reinterpret_cast<const char*>(s + 1), s[0]); }

void ToP(const std::string& s, Str255 out) {
  out[0] = static_cast<unsigned char>(s.size());
  std::memcpy(out + 1, s.data(), s.size());
}

FSSpec SpecOf(const fs::path& path) {
  FSSpec spec{};
  FSpMakeFromPOSIXPath(path.string(), &spec);
  return spec;
}

void Touch(const fs::path& path) { std::fclose(std::fopen(path.c_str(), "wb")); }

// Each test starts in the Roman script and leaves it so.
class WXText : public ::testing::Test {
 protected:
  void SetUp() override { SetSystemScriptForLanguage('E'); }
  void TearDown() override { SetSystemScriptForLanguage('E'); }
  wxtest::ScratchDir mDir;
};

TEST_F(WXText, RemoveExtensionAppRemovesOnlyATrailingApplicationExtension) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"Mail.app", "Mail"},  {"Foo.apple", "Foo.apple"}, {".app", ""},         {"app", "app"},
      {"A.app.app", "A.app"}, {"Mail.APP", "Mail.APP"},   {"", ""},             {"My.app Copy", "My.app Copy"},
      {"Mail.desktop", "Mail"}, {"A.app.desktop", "A.app"}, {"desktop", "desktop"}, {"Mail.desktops", "Mail.desktops"},
  };
  for (const Case& c : cases) {
    Str255 name;
    ToP(c.in, name);
    CWXUtility::RemoveExtensionApp(name);
    EXPECT_EQ(FromP(name), c.out) << c.in;
  }
}

TEST_F(WXText, AnApplicationIsShownByItsDesktopEntrysNameElseByItsFileName) {
  struct Case {
    const char* file;
    const char* content;
    const char* shown;  // in the Roman script
  } cases[] = {
      {"org.example.Viewer.desktop", "[Desktop Entry]\nType=Application\nName=Photo Viewer\nExec=true\n", "Photo Viewer"},
      {"cafe.desktop", "[Desktop Entry]\nName=Caf\xC3\xA9\nExec=true\n", "Caf\x8E"},
      {"unnamed.desktop", "[Desktop Entry]\nType=Application\nExec=true\n", "unnamed"},
      {"notes.desktop", "no group here", "notes"},
      {"Mail.app", "", "Mail"},
      {"tool", "", "tool"},
  };
  for (const Case& c : cases) {
    std::ofstream(mDir.path() / c.file) << c.content;
    Str255 name;
    CWXUtility::ApplicationName(SpecOf(mDir.path() / c.file), name);
    EXPECT_EQ(FromP(name), c.shown) << c.file;
  }
}

TEST_F(WXText, PDFNameIsCutTo31BytesBetweenCharacters) {
  struct Case {
    char language;
    const char* diskName;  // UTF-8
    size_t bytes;          // expected length in the script
  } cases[] = {
      {'E', "0123456789012345678901234567890123456789.pdf", 31},
      {'E', "Short.pdf", 9},
      {'E', "Caf\xC3\xA9 menu \xC3\xA9t\xC3\xA9 2026 \xC3\xA0 la carte.pdf", 31},  // Mac Roman: one byte each
      // Shift-JIS: two bytes a character; 31 would split the 16th.
      {'J', "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC"
            "\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE6\x97\xA5.pdf",
       30},
  };
  for (const Case& c : cases) {
    SetSystemScriptForLanguage(c.language);
    Touch(mDir / c.diskName);
    LStr255 name = CWXUtility::GetPDFAddLongName(SpecOf(mDir / c.diskName));
    EXPECT_EQ(name.Length(), c.bytes) << c.diskName;
    std::string back;
    ASSERT_TRUE(PStringToUTF8(name, &back)) << "cut inside a character: " << c.diskName;
    EXPECT_EQ(std::string(c.diskName).compare(0, back.size(), back), 0) << back;
  }
}

TEST_F(WXText, NameOutsideTheScriptFallsBackOrStaysUntouched) {
  const char* chinese = "\xE4\xB8\xAD\xE6\x96\x87.pdf";  // no Mac Roman form
  Touch(mDir / chinese);
  FSSpec spec = SpecOf(mDir / chinese);
  LStr255 name = CWXUtility::GetPDFAddLongName(spec);
  EXPECT_EQ(FromP(name), FromP(spec.name));

  Str255 out;
  ToP("before", out);
  CWXUtility::GetPSStringTrank(spec, out);
  EXPECT_EQ(FromP(out), "before");
  CWXUtility::GetPSStringTrank(SpecOf(mDir / "missing.pdf"), out);
  EXPECT_EQ(FromP(out), "before");

  Touch(mDir / "Caf\xC3\xA9.pdf");
  CWXUtility::GetPSStringTrank(SpecOf(mDir / "Caf\xC3\xA9.pdf"), out);
  EXPECT_EQ(FromP(out), "Caf\x8E.pdf");  // é in Mac Roman
}

TEST_F(WXText, FullPathShowsFoldersAndTheLongName) {
  GWorldPtr world = nullptr;
  Rect bounds{0, 0, 10, 10};
  ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
  CGrafPtr oldPort;
  GDHandle oldDevice;
  GetGWorld(&oldPort, &oldDevice);
  SetGWorld(world, nullptr);

  fs::create_directories(mDir / "Scans" / "Winter");
  Touch(mDir / "Scans" / "Winter" / "page.jpg");
  for (const fs::path& item : {mDir / "Scans" / "Winter" / "page.jpg", mDir / "Scans" / "Winter"}) {
    SInt16 length = -1;
    Handle h = CWXUtility::GetFullPathTrank(SpecOf(item), 2000, &length);
    ASSERT_NE(h, nullptr) << item;
    EXPECT_EQ(std::string(*h, size_t(length)), item.string());
    EXPECT_EQ((*h)[length], 0);
    DisposeHandle(h);
  }

  SInt16 length = -1;
  Handle h = CWXUtility::GetFullPathTrank(SpecOf(mDir / "Scans" / "Winter" / "page.jpg"), 80, &length);
  ASSERT_NE(h, nullptr);
  std::string shown(*h, size_t(length));
  EXPECT_LE(TextWidth(*h, 0, length), 80);
  EXPECT_EQ(shown.back(), 'g');  // cut in the middle: both ends stay
  EXPECT_EQ(shown.front(), '/');
  DisposeHandle(h);

  h = CWXUtility::GetFullPathTrank(SpecOf(mDir / "nothing-here"), 2000, &length);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(length, 0);

  SetGWorld(oldPort, oldDevice);
  DisposeGWorld(world);
}

TEST_F(WXText, DecimalPointComesFromTheLocale) {
  EXPECT_EQ(CWXUtility::DecPointCharOfLocale("C"), '.');
  EXPECT_EQ(CWXUtility::DecPointCharOfLocale("xx_NOWHERE.UTF-8"), '.');
}

TEST_F(WXText, DecimalPointIsAskedOnce) {
  // A comma-decimal locale of the test's own: no machine need have it installed.
  const char* comma = "de_DE.UTF-8";
  wxtest::ScratchDir locales;
  wxtest::Run("localedef -c -i de_DE -f UTF-8 '" + (locales.path() / comma).string() + "' >/dev/null 2>&1");
  ASSERT_TRUE(fs::exists(locales.path() / comma / "LC_NUMERIC")) << "localedef made no " << comma;
  // A child process, so that the first call is really the first.
  EXPECT_EXIT(
      {
        // glibc keeps the locale path it read for good: _exit, so that no leak check sees it.
        setenv("LOCPATH", locales.path().c_str(), 1);
        if (CWXUtility::DecPointCharOfLocale(comma) != ',') _exit(2);
        setenv("LC_ALL", comma, 1);
        char first = CWXUtility::GetLocalizedDecPointChar();
        setenv("LC_ALL", "C", 1);
        _exit(first == ',' && CWXUtility::GetLocalizedDecPointChar() == ',' ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(WXText, UnicodeNameAndRename) {
  Str255 p;
  ToP("Caf\x8E", p);  // Mac Roman
  long bytes = 0;
  UniChar* units = CWXUtility::ConvertFromPStringToUnicode(LStr255(p), bytes);
  ASSERT_EQ(bytes, 8);
  EXPECT_EQ(units[3], 0x00E9);
  delete[] units;

  Touch(mDir / "Caf\xC3\xA9.tif");
  FSSpec spec = SpecOf(mDir / "Caf\xC3\xA9.tif");
  EXPECT_EQ(CWXUtility::RenameFSSpecFile2UniFile(&spec), 1);
  EXPECT_TRUE(fs::exists(mDir / "Caf\xC3\xA9.tif"));
  FSSpec missing = SpecOf(mDir / "gone.tif");
  EXPECT_EQ(CWXUtility::RenameFSSpecFile2UniFile(&missing), 0);
}

TEST_F(WXText, MoveButtonMarksAndSlots) {
  const long k4 = 0x1240, k7 = 0x1200, kOther = 0x1100;
  struct Case {
    long tag;
    long icon7, icon4, iconOther;
  } icons[] = {{2000, 400, 400, 400}, {2001, 430, 430, 430}, {2002, 0, 420, 0}, {2003, 410, 410, 410}, {1999, 0, 0, 0},
               {2004, 0, 0, 0}};
  for (const Case& c : icons) {
    EXPECT_EQ(CWXUtility::GetMoveIconNo(c.tag, k7), c.icon7) << c.tag;
    EXPECT_EQ(CWXUtility::GetMoveIconNo(c.tag, k4), c.icon4) << c.tag;
    EXPECT_EQ(CWXUtility::GetMoveIconNo(c.tag, kOther), c.iconOther) << c.tag;
  }

  struct Slot {
    long tag, product;
    long changedOffset;  // -1: nothing stored
  } slots[] = {{2000, k7, 54888}, {2001, k7, 54892}, {2002, k7, -1}, {2002, k4, 54896},
               {2003, k7, 54900}, {2004, k4, -1},    {1000, k4, -1}};
  for (const Slot& s : slots) {
    std::vector<uint8_t> before(PREF_ALL::kSize, 0xAB), after = before;
    CWXUtility::SetMove_Button_Popup_Value(RecordBytes(after.data(), after.size()), s.tag, s.product, 7);
    if (s.changedOffset < 0) {
      EXPECT_EQ(after, before) << s.tag;
      continue;
    }
    EXPECT_EQ(BEGetU32(after.data() + s.changedOffset), 7u) << s.tag;
    std::memcpy(after.data() + s.changedOffset, before.data(), 4);
    EXPECT_EQ(after, before) << s.tag;
  }
}

TEST_F(WXText, ConverterFillsAllThreeOrThrows) {
  fs::create_directories(mDir / "folder");
  Touch(mDir / "folder" / "a.jpg");
  CFSConverter fromSpec(SpecOf(mDir / "folder" / "a.jpg"));
  UInt8 path[1024];
  ASSERT_EQ(FSRefMakePath(&fromSpec.GetFSRef(), path, sizeof path), noErr);
  EXPECT_EQ(fs::path(reinterpret_cast<char*>(path)), mDir / "folder" / "a.jpg");
  ASSERT_EQ(FSRefMakePath(&fromSpec.GetParentFSRef(), path, sizeof path), noErr);
  EXPECT_EQ(fs::path(reinterpret_cast<char*>(path)), mDir / "folder");

  CFSConverter fromRef(fromSpec.GetFSRef());
  EXPECT_EQ(FromP(fromRef.GetFSSpec().name), "a.jpg");
  EXPECT_EQ(fromRef.GetFSSpec().parID, fromSpec.GetFSSpec().parID);

  try {
    fromSpec = SpecOf(mDir / "folder" / "none.jpg");
    FAIL() << "no exception";
  } catch (const LException& e) {
    EXPECT_EQ(e.GetErrorCode(), fnfErr);
  }
  EXPECT_EQ(FromP(fromSpec.GetFSSpec().name), "a.jpg");  // unchanged after the failure
}

class UpdateProcTest : public wxtest::DialogTest {};

TEST_F(UpdateProcTest, DeactivatesTheApplicationsWindows) {
  Rect mainBounds = {60, 60, 200, 400}, dialogBounds = {120, 120, 300, 360};
  auto* mainWindow = new LWindow(mainBounds, reinterpret_cast<ConstStr255Param>("\x04Main"), kDocumentWindowClass, 0, mApp);
  auto* dialog = new LWindow(dialogBounds, reinterpret_cast<ConstStr255Param>("\x04Scan"), kMovableModalWindowClass, 0, mApp);
  mainWindow->Show();
  dialog->Show();
  dialog->Select();
  ASSERT_TRUE(dialog->IsActive());
  CWXUtility::UpdateProc();
  EXPECT_FALSE(dialog->IsActive());
  EXPECT_FALSE(mainWindow->IsActive());
  CWXUtility::UpdateProc();  // again while nothing is active: nothing happens
  EXPECT_FALSE(dialog->IsActive());
  delete dialog;
  delete mainWindow;
}

}  // namespace

// For every test of this binary: fontconfig keeps its configuration, and libdbus (opened by
// SDL on a real screen) its session-bus state, for the life of the process; neither is ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\nleak:libdbus-1.so\n"; }
