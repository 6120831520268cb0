// The test scanner plug-in, installed for the function dialogs' runs without TWAIN.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "scanner/ScanTestSupport.h"
#include "toolbox/Files.h"
#include "toolbox/MacMemory.h"
#include "toolbox/Resources.h"
#include "toolbox/TextUtils.h"

// The test plug-in the dialogs scan through when TWAIN is off, installed as "Test" in
// `appDir`'s plug-in folder.
inline void InstallPlugIn(const std::filesystem::path& appDir) {
  std::filesystem::create_directories(appDir / "Plug-Ins");
  const std::filesystem::path file = appDir / "Plug-Ins" / "Test";
  std::filesystem::copy_file(WX_TEST_PLUGIN_PATH, file, std::filesystem::copy_options::overwrite_existing);
  FSSpec spec = wxscan::FolderSpec(file);
  FInfo info{};
  info.fdType = '8BAM';
  info.fdCreator = '8BIM';
  ASSERT_EQ(noErr, FSpSetFInfo(&spec, &info));
  FSpCreateResFile(&spec, '8BIM', '8BAM', smSystemScript);
  const SInt16 ref = FSpOpenResFile(&spec, fsRdWrPerm);
  ASSERT_NE(-1, ref);
  Str255 text;
  PStrFromString("Dispatchable Plug-in", text);
  Handle h = nullptr;
  ASSERT_EQ(noErr, PtrToHand(text, &h, text[0] + 1));
  AddResource(h, 'DiSp', 16000, reinterpret_cast<const unsigned char*>(""));
  const unsigned char vers[] = {0x08, 0x20};
  Handle v = nullptr;
  ASSERT_EQ(noErr, PtrToHand(vers, &v, sizeof vers));
  AddResource(v, 'vers', 1, reinterpret_cast<const unsigned char*>(""));
  CloseResFile(ref);
}

