// Test side of the SANE bridge: a private SANE configuration with only the test device, and
// scanimage (from sane-utils) as the independent reference for the pixels SANE delivers.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "support/TestEnv.h"

namespace wxsane {

// The bridge's configuration folder for this test process, with the test device standing
// for `product`; system backends are left out (no trailing ':'), so nothing probes hardware.
inline void UseSaneTestDevice(const std::filesystem::path& folder, const std::string& product) {
  std::filesystem::create_directories(folder / "dll.d");
  std::ofstream(folder / "dll.d" / "wendrix") << "test\n";
  std::ofstream(folder / "test.conf") << "number_of_devices 1\ntest-picture \"Color pattern\"\n";
  std::ofstream(folder / "sources.conf") << "test:0=" << product << "\n";
  setenv("WX_SANE_CONFIG", folder.c_str(), 1);
  setenv("SANE_CONFIG_DIR", folder.c_str(), 1);
}

// Names (or, with an empty `source`, stops naming) the SANE source the test device scans
// documents from in the bridge's configuration: a reflective light path then selects it.
inline void UseSaneDocumentSource(const std::string& product, const std::string& source) {
  std::ofstream conf(std::filesystem::path(std::getenv("WX_SANE_CONFIG")) / "sources.conf");
  conf << "test:0=" << product << "\n";
  if (!source.empty()) conf << "test:0 documents=" << source << "\n";
}

// Makes the test device answer every read with `status` (a SANE status name, or "Default").
// SANE reads this once, at its start: a process that has scanned must not call it.
inline void UseSaneReadStatus(const std::string& status) {
  std::ofstream(std::filesystem::path(std::getenv("WX_SANE_CONFIG")) / "test.conf")
      << "number_of_devices 1\ntest-picture \"Color pattern\"\nread-status-code \"" << status << "\"\n";
}

// The scanner faults a user meets, each with the item of string list 410 that tells of it.
struct SaneFault {
  const char* status;
  short item;
};
inline constexpr SaneFault kSaneFaults[] = {
    {"SANE_STATUS_JAMMED", 1}, {"SANE_STATUS_COVER_OPEN", 2}, {"SANE_STATUS_IO_ERROR", 4}};

// The test device's feeder; it runs empty after 10 sheets.
inline const char* kSaneTestFeeder = "Automatic Document Feeder";

// The test program's SANE set-up: the test device as "Dremlo Model A", and the folder of
// source descriptions.
class SaneTestEnvironment : public ::testing::Environment {
 public:
  explicit SaneTestEnvironment(std::string sources) : mSources(std::move(sources)) {}
  void SetUp() override {
    UseSaneTestDevice(mConfig.path(), "Dremlo Model A");
    setenv("WX_TWAIN_SOURCES", mSources.c_str(), 1);
  }

 private:
  std::string mSources;
  wxtest::ScratchDir mConfig;
};

// An image as scanimage wrote it (PBM/PGM/PPM): rows of `rowBytes` bytes.
struct Pnm {
  char kind = 0;  // '4' bitmap (1 = black), '5' grey (0 = black), '6' colour
  int width = 0, height = 0;
  size_t rowBytes = 0;
  std::vector<unsigned char> data;
};

inline bool ReadPnm(const std::filesystem::path& path, Pnm* out) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  in >> magic;
  if (magic.size() != 2 || magic[0] != 'P') return false;
  out->kind = magic[1];
  auto next = [&in]() {
    in >> std::ws;
    while (in.peek() == '#') {
      std::string comment;
      std::getline(in, comment);
      in >> std::ws;
    }
    int v = 0;
    in >> v;
    return v;
  };
  out->width = next();
  out->height = next();
  if (out->kind != '4') next();
  in.get();
  out->rowBytes = out->kind == '4' ? (out->width + 7) / 8 : out->kind == '5' ? out->width : 3 * size_t(out->width);
  out->data.resize(out->rowBytes * out->height);
  in.read(reinterpret_cast<char*>(out->data.data()), out->data.size());
  return static_cast<size_t>(in.gcount()) == out->data.size();
}

// Scans the test device with scanimage; `area` in millimetres from the top left.
inline bool ScanImage(const std::string& mode, int depth, int resolution, double widthMM, double heightMM,
                      const std::filesystem::path& out, Pnm* pnm) {
  std::ostringstream cmd;
  cmd << "{ scanimage -d test:0 --format=pnm --mode " << mode << " --depth " << depth << " --resolution " << resolution
      << " -l 0 -t 0 -x " << widthMM << " -y " << heightMM << " > " << out << " 2>/dev/null; }";
  return wxtest::Run(cmd.str()) == 0 && ReadPnm(out, pnm);
}

}  // namespace wxsane
