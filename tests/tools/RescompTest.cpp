#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/TestEnv.h"
#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "tools/rescomp/rcCompile.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Good {
  const char* what;
  char language;
  const char* source;
  ResType type;
  SInt16 id;
  Bytes data;
};

const Good kGood[] = {
    {"a string list", 'E', "strings 128 { \"E\" \"ab\" }", 'STR#', 128, {0, 2, 1, 'E', 2, 'a', 'b'}},
    {"an empty list with commas", 'E', "strings -1 { }", 'STR#', -1, {0, 0}},
    {"defines and escapes", 'E', "strings 5 { \"${LANGUAGE}\", \"\\\"\\x80\\$\" }", 'STR#', 5,
     {0, 2, 1, 'E', 3, '"', 0x80, '$'}},
    {"UTF-8 text written in Mac Roman", 'E', "strings 1 { \"\xC3\xA9\xE2\x80\xA6\" }", 'STR#', 1, {0, 1, 2, 0x8E, 0xC9}},
    {"UTF-8 text written in Shift-JIS", 'J', "strings 1 { \"\xE6\x97\xA5\xE6\x9C\xAC\" }", 'STR#', 1,
     {0, 1, 4, 0x93, 0xFA, 0x96, 0x7B}},
    {"big-endian fields", 'E', "data 'dPre' 7 { u8 1 i8 -1 u16 0x1234 i16 -2 u32 'JPEG' 5 i32 -1 }", 'dPre', 7,
     {1, 0xFF, 0x12, 0x34, 0xFF, 0xFE, 'J', 'P', 'E', 'G', 0, 0, 0, 5, 0xFF, 0xFF, 0xFF, 0xFF}},
    {"strings, hex and zeros", 'E', "data 'TEST' 1 { pstring \"ab\" pstring[4] \"c\" text \"de\" hex \"0a FF\" zero 2 type 'ABCD' }",
     'TEST', 1, {2, 'a', 'b', 1, 'c', 0, 0, 'd', 'e', 0x0A, 0xFF, 0, 0, 'A', 'B', 'C', 'D'}},
    {"a colour table by samples and by a grey run", 'E', "clut 9 { rgb 1 2 3 grey 3 0xFFFF 0 }", 'clut', 9,
     {0, 0, 0, 0, 0, 0, 0, 3, 0, 0, 0, 1, 0, 2, 0, 3, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
      0, 2, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00, 0, 3, 0, 0, 0, 0, 0, 0}},
    {"comments everywhere", 'E', "# one\nstrings 3 // two\n { \"x\" # three\n }", 'STR#', 3, {0, 1, 1, 'x'}},
};

struct Bad {
  const char* source;
  int line;
  const char* message;
};

const Bad kBad[] = {
    {"strings 128 {\n  \"E\"\n", 3, "expected a string but found the end of the file"},
    {"\n\nstrong 1 { }", 3, "expected a resource (strings, data, layout, picture, cicn, cursor, region, clut)"},
    {"strings 40000 { }", 1, "resource ID 40000 is outside -32768..32767"},
    {"strings 1 {\n \"unterminated }", 2, "string without its closing quote"},
    {"strings 1 { \"${NOPE}\" }", 1, "'NOPE' is not defined"},
    {"strings 1 { \"\xE6\x97\xA5\" }", 1, "cannot be written in the system script"},
    {"data 'dP' 1 { }", 1, "a type is four characters"},
    {"data 'dPre' 1 {\n u8 256 }", 2, "u8 256 is outside 0..255"},
    {"data 'dPre' 1 {\n\n pstring[3] \"abc\" }", 3, "its field holds 2"},
    {"data 'dPre' 1 { hex \"0g\" }", 1, "'g' is not a hexadecimal digit"},
    {"data 'dPre' 1 { hex \"012\" }", 1, "even number of digits"},
    {"data 'dPre' 1 { float 1 }", 1, "unknown field 'float'"},
    {"clut 1 {\n grey 1 0 0 }", 2, "a number of greys 1 is outside 2..256"},
    {"clut 1 { }", 1, "a colour table holds 1 to 256 entries"},
    {"strings 1 shiny { }", 1, "unknown attribute 'shiny'"},
    {"strings 1 { }\nstrings 2 { }\nstrings 1 { }", 3, "'STR#' 1 is already defined at bad.r:1"},
};

}  // namespace

TEST(Rescomp, CompilesEachKindOfSourceToItsBytes) {
  for (const Good& g : kGood) {
    RcOptions options;
    options.language = g.language;
    options.defines["LANGUAGE"] = "E";
    ResFileImage image;
    std::string diagnostic;
    ASSERT_TRUE(rcCompile({{"good.r", g.source}}, options, &image, &diagnostic)) << g.what << ": " << diagnostic;
    ASSERT_EQ(image.records.size(), 1u) << g.what;
    EXPECT_EQ(image.records[0].type, g.type) << g.what;
    EXPECT_EQ(image.records[0].id, g.id) << g.what;
    EXPECT_EQ(image.records[0].data, g.data) << g.what;
  }
}

TEST(Rescomp, NamesAndAttributesReachTheRecord) {
  ResFileImage image;
  std::string diagnostic;
  ASSERT_TRUE(rcCompile({{"a.r", "data 'vers' 1 \"Version\" purgeable locked { u16 0x0820 }"}}, RcOptions{}, &image, &diagnostic));
  ASSERT_EQ(image.records.size(), 1u);
  EXPECT_TRUE(image.records[0].named);
  EXPECT_EQ(image.records[0].name, "Version");
  EXPECT_EQ(image.records[0].attrs, resPurgeable | resLocked);
}

TEST(Rescomp, ABadSourceIsReportedWithItsFileAndLine) {
  for (const Bad& b : kBad) {
    ResFileImage image;
    std::string diagnostic;
    EXPECT_FALSE(rcCompile({{"bad.r", b.source}}, RcOptions{}, &image, &diagnostic)) << b.source;
    const std::string where = "bad.r:" + std::to_string(b.line) + ": error: ";
    EXPECT_EQ(diagnostic.rfind(where, 0), 0u) << diagnostic;
    EXPECT_NE(diagnostic.find(b.message), std::string::npos) << diagnostic;
  }
}

TEST(Rescomp, TheToolFailsOnABadSourceAndLeavesNoOutput) {
  wxtest::ScratchDir dir;
  std::ofstream(dir / "good.r") << "strings 200 \"Errors\" { \"one\" \"two\" }\ndata 'dPre' 128 { zero 36 pstring[256] \"Dremlo Model A\" zero 16 }\n";
  std::ofstream(dir / "bad.r") << "strings 1 {\n  \"x\"\n  42\n}\n";
  const std::string tool = WX_RESCOMP_PATH;
  const auto out = dir / "out.rsrc";
  std::string text;
  ASSERT_EQ(wxtest::Run(tool + " -o " + out.string() + " " + (dir / "good.r").string(), &text), 0) << text;
  ASSERT_TRUE(std::filesystem::exists(out));

  const SInt16 ref = OpenResFilePath(out.string(), fsRdPerm);
  ASSERT_NE(ref, -1) << ResError();
  Str255 s;
  GetIndString(s, 200, 2);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(s + 1), s[0]), "two");
  Handle prefs = Get1Resource('dPre', 128);
  ASSERT_NE(prefs, nullptr);
  EXPECT_EQ(GetHandleSize(prefs), 308);
  EXPECT_EQ((*prefs)[36], 14);
  CloseResFile(ref);

  EXPECT_EQ(wxtest::Run(tool + " -o " + out.string() + " " + (dir / "good.r").string() + " " + (dir / "bad.r").string(), &text), 1);
  EXPECT_NE(text.find((dir / "bad.r").string() + ":3: error: expected a string but found the number 42"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(out)) << "a failed compile leaves no stale resource file";
}

// A folder given as the source is an error with its name and reason, not an empty resource
// file; a folder at the output's path is neither written nor removed.
TEST(Rescomp, AFolderInPlaceOfAFileFailsWithTheReason) {
  wxtest::ScratchDir dir;
  const std::string tool = WX_RESCOMP_PATH;
  std::filesystem::create_directory(dir / "source.r");
  std::string text;
  EXPECT_EQ(wxtest::Run(tool + " -o " + (dir / "out.rsrc").string() + " " + (dir / "source.r").string() + " 2>&1", &text), 1);
  EXPECT_NE(text.find((dir / "source.r").string() + ": error: cannot read the file: is a folder"), std::string::npos) << text;
  EXPECT_FALSE(std::filesystem::exists(dir / "out.rsrc"));

  std::ofstream(dir / "good.r") << "strings 200 \"Errors\" { \"one\" }\n";
  std::filesystem::create_directory(dir / "out.rsrc");
  EXPECT_EQ(wxtest::Run(tool + " -o " + (dir / "out.rsrc").string() + " " + (dir / "good.r").string() + " 2>&1", &text), 1);
  EXPECT_NE(text.find((dir / "out.rsrc").string() + ": error: cannot write the resource file: "), std::string::npos) << text;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "out.rsrc"));
}

TEST(Rescomp, TheApplicationResourceFileIsBuiltWithTheLanguageLetter) {
  const SInt16 ref = OpenApplicationResFile(WX_APP_RESOURCE_FILE);
  ASSERT_NE(ref, -1) << WX_APP_RESOURCE_FILE << ": " << ResError();
  Str255 letter;
  GetIndString(letter, 128, 1);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(letter + 1), letter[0]), std::string(1, WX_LANGUAGE_LETTER));
  CloseResFile(ref);
  std::filesystem::copy_file(WX_APP_RESOURCE_FILE, wxtest::OutputDir("resources") / "Wendrix.rsrc",
                             std::filesystem::copy_options::overwrite_existing);
}
