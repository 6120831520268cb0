// The base layer's bitstream reader, plain bit writer, copying, seeking and appending, and
// its file calls for names, in memory and file modes.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "jpeg/complib.h"
#include "jpeg/complibMac.h"
#include "jpeg/jpgStatus.h"
#include "support/TestEnv.h"
#include "toolbox/MacErrors.h"

namespace {

HFSUniStr255 Uni(const std::string& s) {
  HFSUniStr255 u{};
  u.length = static_cast<UInt16>(s.size());
  for (size_t i = 0; i < s.size(); ++i) u.unicode[i] = static_cast<UniChar>(s[i]);
  return u;
}

std::string Narrow(const HFSUniStr255& u) { return std::string(u.unicode, u.unicode + u.length); }

std::string PathOf(const FSRef& ref) {
  UInt8 path[1024] = {};
  EXPECT_EQ(FSRefMakePath(&ref, path, sizeof(path)), noErr);
  return reinterpret_cast<const char*>(path);
}

FSRef FolderRef(const std::filesystem::path& p) {
  FSRef ref{};
  Boolean isDir = 0;
  EXPECT_EQ(FSPathMakeRef(reinterpret_cast<const UInt8*>(p.c_str()), &ref, &isDir), noErr);
  return ref;
}

_complibFileName NameIn(const FSRef& folder, const std::string& name) {
  _complibFileName record{};
  HFSUniStr255 u = Uni(name);
  EXPECT_EQ(complibMacCreateFileNameFromFsRef(&record, &folder, &u, 'prvw', 'JPEG'), 0);
  return record;
}

// A file record (folder plus name) inside a stream record, released at the end.
struct FileStream {
  complibBitstream s{};
  FileStream(const std::filesystem::path& folder, const std::string& name) {
    s.name = NameIn(FolderRef(folder), name);
    s.fork = -1;
  }
  ~FileStream() {
    complibCloseBitstreamFile(&s);
    complibMemFree(s.block);
  }
};

// A memory stream being written, its block freed at the end.
struct MemoryWriter {
  complibBitstream s{};
  MemoryWriter() { EXPECT_EQ(complibInitBitstreamMemory(&s, nullptr, 0, kBitstreamWrite), 0); }
  ~MemoryWriter() { complibMemFree(s.block); }
  std::vector<uint8_t> bytes() const { return std::vector<uint8_t>(s.block, s.block + s.used); }
};

std::vector<uint8_t> BytePattern(size_t n) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 7 + i / 251);
  return v;
}

// A run of puts of 1..32 bits.
struct Put {
  uint32_t bits;
  int n;
};
std::vector<Put> Puts(int count) {
  std::vector<Put> puts;
  uint32_t s = 11;
  for (int i = 0; i < count; ++i) {
    s = s * 1664525u + 1013904223u;
    int n = 1 + int((s >> 8) % 32);
    s = s * 1664525u + 1013904223u;
    puts.push_back({n == 32 ? s : s & ((1u << n) - 1), n});
  }
  return puts;
}

}  // namespace

TEST(ComplibReader, BitsMostSignificantFirstAndZerosPastTheEnd) {
  uint8_t data[] = {0xA5, 0x0F, 0xFF, 0x00, 0x12};
  complibBitstream s{};
  ASSERT_EQ(complibInitBitstreamMemory(&s, data, sizeof(data), kBitstreamRead), 0);
  EXPECT_EQ(complibGetBits(&s, 4), 0xAu);
  EXPECT_EQ(complibShowBits(&s, 8), 0x50u);
  EXPECT_EQ(complibGetBits(&s, 12), 0x50Fu);
  EXPECT_EQ(complibGetBitAddress(&s), 16);
  EXPECT_EQ(complibGetBits(&s, 32), 0xFF001200u);
  EXPECT_EQ(complibGetBitAddress(&s), 40);
  EXPECT_EQ(readBitstreamData(&s), kJpgFailed);
  EXPECT_EQ(complibGetBits(&s, 17), 0u);
  uint8_t out[2];
  int64_t got = -1;
  EXPECT_EQ(complibBSGetBlock(&s, out, 1, &got), kJpgFailed);
  EXPECT_EQ(got, 0);
  // Nothing was read beyond the five bytes (AddressSanitizer watches the array).
}

TEST(ComplibReader, ByteBlocksAndAlignment) {
  std::vector<uint8_t> data = BytePattern(10);
  complibBitstream s{};
  ASSERT_EQ(complibInitBitstreamMemory(&s, data.data(), int64_t(data.size()), kBitstreamRead), 0);
  uint8_t out[16];
  int64_t got = 0;
  EXPECT_EQ(complibGetBits(&s, 3), uint32_t(data[0] >> 5));
  EXPECT_EQ(complibBSGetBlock(&s, out, 2, &got), kJpgBadState);
  complibGetByteAligned(&s);
  EXPECT_EQ(complibGetBitAddress(&s), 8);
  EXPECT_EQ(complibBSGetBlock(&s, out, 0, &got), kJpgBadParameter);
  ASSERT_EQ(complibBSGetBlock(&s, out, 4, &got), 0);
  EXPECT_EQ(got, 4);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 4), std::vector<uint8_t>(data.begin() + 1, data.begin() + 5));
  EXPECT_EQ(complibBSGetBlock(&s, out, 16, &got), kJpgFailed);
  EXPECT_EQ(got, 5);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 5), std::vector<uint8_t>(data.begin() + 5, data.end()));
  EXPECT_EQ(complibInitBitstreamMemory(&s, nullptr, 4, kBitstreamRead), kJpgBadContext);
  EXPECT_EQ(complibInitBitstreamMemory(&s, data.data(), 4, kBitstreamMemory), kJpgBadParameter);
}

TEST(ComplibPlainWriter, MemoryAndFileGiveTheSameBytesAndReadBack) {
  wxtest::ScratchDir dir;
  // Enough bits to cross the 4096-byte buffer several times.
  const std::vector<Put> puts = Puts(8000);
  MemoryWriter writer;
  complibBitstream& memory = writer.s;
  FileStream file(dir.path(), "bits.bin");
  ASSERT_EQ(complibCreateBitstreamFile(&file.s), 0);
  for (const Put& p : puts) {
    ASSERT_EQ(complibPutBits(&memory, p.bits, p.n), 0);
    ASSERT_EQ(complibPutBits(&file.s, p.bits, p.n), 0);
  }
  ASSERT_EQ(complibFlushPutBits(&memory), 0);
  ASSERT_EQ(complibFlushPutBits(&file.s), 0);
  ASSERT_EQ(complibCommitBitstreamFile(&file.s), 0);
  ASSERT_EQ(complibCloseBitstreamFile(&file.s), 0);
  std::vector<uint8_t> written(memory.block, memory.block + memory.used);
  ASSERT_GT(written.size(), 3u * kBitstreamBufferSize);
  EXPECT_EQ(wxtest::ReadBytes(dir / "bits.bin"), written);

  complibBitstream readMemory{};
  ASSERT_EQ(complibInitBitstreamMemory(&readMemory, written.data(), int64_t(written.size()), kBitstreamRead), 0);
  FileStream readFile(dir.path(), "bits.bin");
  ASSERT_EQ(complibOpenBitstreamFile(&readFile.s), 0);
  for (size_t i = 0; i < puts.size(); ++i) {
    ASSERT_EQ(complibGetBits(&readMemory, puts[i].n), puts[i].bits) << "put " << i;
    ASSERT_EQ(complibGetBits(&readFile.s, puts[i].n), puts[i].bits) << "put " << i;
  }
  EXPECT_EQ(complibGetBitAddress(&readFile.s), complibGetBitAddress(&readMemory));
}

// Byte writes to a file, small and larger than what the stream gathers, and plain bit puts
// between them, land in order once committed; before the commit the named file is as it was,
// and a stream closed without committing leaves it so.
TEST(ComplibFileWriter, GatheredBytesLandInOrderAtTheCommit) {
  wxtest::ScratchDir dir;
  wxtest::WriteBytes(dir / "out.bin", {'o', 'l', 'd'});
  const std::vector<uint8_t> pattern = BytePattern(300000);
  const size_t sizes[] = {1, 4096, 70000, 3, 65536, 65535, 2, 90000};
  for (bool commit : {true, false}) {
    FileStream file(dir.path(), "out.bin");
    ASSERT_EQ(complibCreateBitstreamFile(&file.s), 0);
    std::vector<uint8_t> expected;
    size_t at = 0;
    for (size_t n : sizes) {
      ASSERT_EQ(complibWriteBitstreamFile(&file.s, pattern.data() + at, int64_t(n)), int64_t(n));
      expected.insert(expected.end(), pattern.begin() + long(at), pattern.begin() + long(at + n));
      at += n;
      ASSERT_EQ(complibPutBits(&file.s, 0x5A, 8), 0);
      ASSERT_EQ(complibFlushPutBits(&file.s), 0);
      expected.push_back(0x5A);
    }
    const std::vector<uint8_t> old{'o', 'l', 'd'};
    EXPECT_EQ(wxtest::ReadBytes(dir / "out.bin"), old);
    if (commit) {
      ASSERT_EQ(complibCommitBitstreamFile(&file.s), 0);
    }
    ASSERT_EQ(complibCloseBitstreamFile(&file.s), 0);
    EXPECT_EQ(wxtest::ReadBytes(dir / "out.bin"), commit ? expected : old);
    if (commit) wxtest::WriteBytes(dir / "out.bin", old);
  }
}

TEST(ComplibPlainWriter, ByteAlignmentPadsWithZeros) {
  MemoryWriter writer;
  complibBitstream& s = writer.s;
  ASSERT_EQ(complibPutBits(&s, 0x5, 3), 0);
  ASSERT_EQ(complibPutByteAligned(&s), 0);
  ASSERT_EQ(complibPutBits(&s, 0xFF, 8), 0);
  ASSERT_EQ(complibPutBits(&s, 0x1, 1), 0);
  EXPECT_EQ(complibPutBits(&s, 0x1, 0), kJpgBadParameter);
  ASSERT_EQ(complibFlushPutBits(&s), 0);
  // No stuffing after 0xFF: this writer is not the entropy coder's.
  EXPECT_EQ(writer.bytes(), (std::vector<uint8_t>{0xA0, 0xFF, 0x80}));
}

TEST(ComplibSeek, MemoryAndFileWithABaseOffset) {
  wxtest::ScratchDir dir;
  std::vector<uint8_t> data = BytePattern(9000);
  wxtest::WriteBytes(dir / "data.bin", data);
  complibBitstream memory{};
  ASSERT_EQ(complibInitBitstreamMemory(&memory, data.data() + 3, int64_t(data.size()) - 3, kBitstreamRead), 0);
  FileStream file(dir.path(), "data.bin");
  file.s.base = 3;
  ASSERT_EQ(complibOpenBitstreamFile(&file.s), 0);
  struct Step {
    int64_t offset;
    int whence;
    int32_t status;
    int64_t expected;  // byte read after the seek, from the data past the base
  };
  const Step steps[] = {{0, 0, 0, 0},         {5000, 0, 0, 5000},    {10, 1, 0, 5011},  {-1, 2, 0, 8996},
                        {-8997, 2, 0, 0},     {4100, 1, 0, 4101},    {-1, 0, kJpgSeekFailed, -1},
                        {1, 2, kJpgSeekFailed, -1}, {0, 3, kJpgSeekFailed, -1}};
  for (complibBitstream* s : {&memory, &file.s}) {
    for (const Step& step : steps) {
      ASSERT_EQ(complibSeekBitstreamFile(s, step.offset, step.whence), step.status)
          << step.offset << " from " << step.whence;
      if (step.expected >= 0) {
        ASSERT_EQ(complibGetBits(s, 8), data[size_t(step.expected) + 3]) << step.offset;
      }
    }
  }
  // A base beyond the file's end cannot be reached; a missing file cannot be opened.
  FileStream far(dir.path(), "data.bin");
  far.s.base = 9001;
  EXPECT_EQ(complibOpenBitstreamFile(&far.s), kJpgSeekFailed);
  FileStream missing(dir.path(), "missing.bin");
  EXPECT_EQ(complibOpenBitstreamFile(&missing.s), kJpgCannotOpenOutput);
  EXPECT_EQ(missing.s.error, kBitstreamOpenFailed);
  EXPECT_EQ(complibCloseBitstreamFile(&missing.s), 0);
}

TEST(ComplibAppend, WritesAtTheEndOfTheFile) {
  wxtest::ScratchDir dir;
  wxtest::WriteBytes(dir / "log.bin", {'a', 'b', 'c'});
  FileStream file(dir.path(), "log.bin");
  ASSERT_EQ(complibAppendBitstreamFile(&file.s), 0);
  EXPECT_EQ(file.s.mode, kBitstreamRead | kBitstreamWrite);
  ASSERT_EQ(complibPutBits(&file.s, 0x444546, 24), 0);
  ASSERT_EQ(complibFlushPutBits(&file.s), 0);
  ASSERT_EQ(complibCloseBitstreamFileExt(&file.s), 0);
  EXPECT_EQ(wxtest::ReadBytes(dir / "log.bin"), (std::vector<uint8_t>{'a', 'b', 'c', 'D', 'E', 'F'}));
  FileStream missing(dir.path(), "none.bin");
  EXPECT_EQ(complibAppendBitstreamFile(&missing.s), kJpgCannotOpenOutput);
  EXPECT_EQ(complibAppendBitstreamFileExt(&missing.s), kJpgCannotOpenOutput);
  EXPECT_EQ(complibOpenBitstreamFileExt(&missing.s), kJpgCannotOpenOutput);
}

TEST(ComplibDup, CopiesARangeInChunks) {
  wxtest::ScratchDir dir;
  std::vector<uint8_t> data = BytePattern(10000);
  complibBitstream source{};
  ASSERT_EQ(complibInitBitstreamMemory(&source, data.data(), int64_t(data.size()), kBitstreamRead), 0);
  MemoryWriter writer;
  complibBitstream& memory = writer.s;
  ASSERT_EQ(complibDupBitstreamFile(&memory, &source, 100, 9000), 0);
  EXPECT_EQ(writer.bytes(), std::vector<uint8_t>(data.begin() + 100, data.begin() + 9100));
  // From a file into a file.
  wxtest::WriteBytes(dir / "in.bin", data);
  FileStream in(dir.path(), "in.bin");
  ASSERT_EQ(complibOpenBitstreamFile(&in.s), 0);
  FileStream out(dir.path(), "out.bin");
  ASSERT_EQ(complibCreateBitstreamFile(&out.s), 0);
  ASSERT_EQ(complibDupBitstreamFile(&out.s, &in.s, 0, 10000), 0);
  ASSERT_EQ(complibCommitBitstreamFile(&out.s), 0);
  ASSERT_EQ(complibCloseBitstreamFile(&out.s), 0);
  EXPECT_EQ(wxtest::ReadBytes(dir / "out.bin"), data);
  // Ranges the source does not hold.
  EXPECT_EQ(complibDupBitstreamFile(&memory, &source, 9000, 1001), kJpgFailed);
  EXPECT_EQ(complibDupBitstreamFile(&memory, &source, 10001, 1), kJpgFailed);
  EXPECT_EQ(complibDupBitstreamFile(&memory, &source, 0, -1), kJpgFailed);
}

TEST(ComplibFiles, RenameTakesTheSourceNameAndNamesTheFileByReference) {
  wxtest::ScratchDir dir;
  wxtest::WriteBytes(dir / "old.jpg", std::vector<uint8_t>(123, 1));
  FSRef folder = FolderRef(dir.path());
  _complibFileName target = NameIn(folder, "old.jpg"), source = NameIn(folder, "new.jpg");
  ASSERT_TRUE(source.hasName);
  ASSERT_EQ(complibRenameFile(&source, &target), 0);
  EXPECT_FALSE(std::filesystem::exists(dir / "old.jpg"));
  EXPECT_EQ(wxtest::ReadBytes(dir / "new.jpg").size(), 123u);
  EXPECT_FALSE(target.hasName);
  EXPECT_EQ(complibGetFileSize(&target), 123);
  // The target is gone now under its old name; a null record.
  _complibFileName gone = NameIn(folder, "old.jpg");
  EXPECT_EQ(complibRenameFile(&source, &gone), kJpgFailed);
  EXPECT_EQ(complibRenameFile(nullptr, &target), kJpgBadContext);
  EXPECT_EQ(complibRenameFile(&source, nullptr), kJpgBadContext);
  // A name that another file has.
  wxtest::WriteBytes(dir / "other.jpg", {2});
  _complibFileName other = NameIn(folder, "other.jpg");
  EXPECT_EQ(complibRenameFile(&other, &target), kJpgFailed);
  EXPECT_EQ(wxtest::ReadBytes(dir / "new.jpg").size(), 123u);
}

TEST(ComplibFiles, CopyLastPathGivesTheNameAndItsFolder) {
  wxtest::ScratchDir dir;
  wxtest::WriteBytes(dir / "here.jpg", {1});
  FSRef folder = FolderRef(dir.path());
  _complibFileName byRef = NameIn(folder, "here.jpg"), byName = NameIn(folder, "later.jpg");
  ASSERT_FALSE(byRef.hasName);
  for (const _complibFileName* record : {&byRef, &byName}) {
    HFSUniStr255 name{};
    FSRef parent{};
    ASSERT_EQ(complibMacCopyLastPath(&parent, record, &name), 0);
    EXPECT_EQ(Narrow(name), record == &byRef ? "here.jpg" : "later.jpg");
    EXPECT_EQ(PathOf(parent), PathOf(folder));
    ASSERT_EQ(complibMacCopyLastPath(nullptr, record, &name), 0);
  }
  HFSUniStr255 name{};
  EXPECT_EQ(complibMacCopyLastPath(nullptr, nullptr, &name), kJpgBadContext);
  EXPECT_EQ(complibMacCopyLastPath(nullptr, &byRef, nullptr), kJpgBadContext);
  std::filesystem::remove(dir / "here.jpg");
  EXPECT_EQ(complibMacCopyLastPath(nullptr, &byRef, &name), kJpgFailed);
}
