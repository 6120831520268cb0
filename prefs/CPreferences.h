// The preferences store: a full in-memory copy of PREF_ALL and the file it comes from.
//
// Every object reads the file when it is built. Writing back is a merge: the file is read
// again and only the bytes this object changed since it last read or wrote them go in, so
// objects alive at the same time never revert each other's changes (where two changed the
// same bytes, the one written last wins). The file is replaced whole through a temporary
// file in the same folder, so an interrupted write leaves the old file as it was.
#pragma once

#include <memory>
#include <vector>

#include "prefs/FactoryDefaults.h"
#include "prefs/PrefRecords.h"
#include "toolbox/MacTypes.h"

class CPreferences {
 public:
  // Every caller passes PREFS_FILE_NAME and 0; the Preferences folder is created when missing
  // whatever the flag. A missing or damaged file (a data fork of any size but 58,084 bytes,
  // one that cannot be read, a folder) is rebuilt with the defaults and written at once; a
  // damaged one is kept beside it as "<name>.damaged". Where it cannot be moved aside or the
  // defaults cannot be written, the object holds the defaults and the write-failure handler
  // hears it. A file that may be read but not written loads. Values out of their range are
  // repaired as the record loads.
  CPreferences(ConstStr255Param fileName, Boolean createFolder);
  // Writes what this object changed; never throws. A failed write goes to the write-failure
  // handler (once per process); call Save() first to see the result.
  virtual ~CPreferences();
  CPreferences(const CPreferences&) = delete;
  CPreferences& operator=(const CPreferences&) = delete;

  // The 58,084-byte record this object holds.
  RecordBytes PrefAll() const { return RecordBytes(mPrefAll.get(), PREF_ALL::kSize); }
  // A 2,444-byte EXIF_PREF block allocated and freed with the record; the store leaves it alone.
  RecordBytes ExifBlock() const { return RecordBytes(mExifBlock.get(), EXIF_PREF::kSize); }
  const FSSpec& GetSpecifier() const { return mSpec; }

  // Writes back what this object changed; noErr, or the error that stopped the write.
  OSErr Save() noexcept;

  virtual void Save_Setting();  // the merge write; throws LException on failure
  virtual void Load_Setting();  // the read, or the rebuild

  virtual void Set_Default();
  virtual RecordBytes Set_Default_ScannerDriver();
  virtual RecordBytes Set_Default_Exif();
  virtual RecordBytes Set_Default_Copy();
  virtual RecordBytes Set_Default_Print();
  virtual RecordBytes Set_Default_Mail();
  virtual RecordBytes Set_Default_OCR();
  virtual RecordBytes Set_Default_Save();
  virtual RecordBytes Set_Default_File();
  virtual RecordBytes Set_Default_File_Tab(long tab);
  virtual RecordBytes Set_Default_Scan1();
  virtual RecordBytes Set_Default_Scan2();
  virtual RecordBytes Set_Default_Setting();
  virtual void Set_Default_ButtonName();
  virtual void Set_Default_FileName();
  virtual void Read_DefaultsPrefs();

  // Scanner-button tags of every function record from the button slots of PREF_SETTING.
  void SetupButtonValue(unsigned short productID);

  // Left 0, top 0, right and bottom the paper's width and height in pixels at `resolution`
  // dpi; a paper index outside the table gives an empty rectangle.
  static void set_paper_size(Rect* rect, long paperIndex, long resolution);

  // Where the defaults take the TWAIN data sources and the measurement system from; set once
  // at start-up.
  static FDSources sSources;

  // Called once per run with the first error that keeps the settings from being kept: a write
  // that fails in a destructor, or a file that can be neither read nor set aside.
  static void SetWriteFailureHandler(void (*handler)(OSErr));

 private:
  void Rebuild(bool write);

  std::unique_ptr<uint8_t[]> mPrefAll;
  std::unique_ptr<uint8_t[]> mExifBlock;
  std::vector<uint8_t> mBase;  // the record as last read from or written to the file; empty = never written
  FSSpec mSpec{};
};
