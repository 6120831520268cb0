// The test scanner plug-in, installed where the application looks for driver plug-ins.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "toolbox/Files.h"
#include "toolbox/MacErrors.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

// Copies the test plug-in into `appDir`'s plug-in folder as `name`, with its type and creator
// and the resources given: a 'DiSp' of `dispatch` and a 'vers' of `versBytes` (none when empty).
inline void InstallPlugIn(const std::filesystem::path& appDir, const std::string& name = "Test",
                          const std::vector<unsigned char>& versBytes = {0x08, 0x20},
                          const char* dispatch = "Dispatchable Plug-in") {
  std::filesystem::create_directories(appDir / "Plug-Ins");
  const std::filesystem::path file = appDir / "Plug-Ins" / name;
  std::filesystem::copy_file(WX_TEST_PLUGIN_PATH, file, std::filesystem::copy_options::overwrite_existing);
  FSSpec spec{};
  ASSERT_EQ(noErr, FSpMakeFromPOSIXPath(file.string(), &spec));
  FInfo info{};
  info.fdType = '8BAM';
  info.fdCreator = '8BIM';
  ASSERT_EQ(noErr, FSpSetFInfo(&spec, &info));
  FSpCreateResFile(&spec, '8BIM', '8BAM', smSystemScript);
  ASSERT_EQ(noErr, ResError());
  const SInt16 ref = FSpOpenResFile(&spec, fsRdWrPerm);
  ASSERT_NE(-1, ref);
  Str255 text;
  PStrFromString(dispatch, text);
  Handle h = nullptr;
  ASSERT_EQ(noErr, PtrToHand(text, &h, text[0] + 1));
  AddResource(h, 'DiSp', 16000, reinterpret_cast<const unsigned char*>(""));
  if (!versBytes.empty()) {
    Handle v = nullptr;
    ASSERT_EQ(noErr, PtrToHand(versBytes.data(), &v, static_cast<Size>(versBytes.size())));
    AddResource(v, 'vers', 1, reinterpret_cast<const unsigned char*>(""));
  }
  CloseResFile(ref);
  ASSERT_EQ(noErr, ResError());
}
