// Colour matching between two profiles: pixel rows, bitmaps, PixMaps and drawing. The
// object owns both profiles and the colour world, made on the first match.
#pragma once

#include "colorsync/ColorSync.h"
#include "framework/LStr255.h"
#include "toolbox/MacTypes.h"

class CColorSync {
 public:
  CColorSync() = default;
  CColorSync(const FSSpec& source, const FSSpec& destination);
  CColorSync(const FSSpec& source, CMProfileRef destination);
  CColorSync(CMProfileRef source, const FSSpec& destination);
  CColorSync(CMProfileRef source, CMProfileRef destination);
  virtual ~CColorSync();
  CColorSync(const CColorSync&) = delete;
  CColorSync& operator=(const CColorSync&) = delete;

  // Matching while drawing into the current port, between the two calls.
  virtual void ColorMatchBeginForDraw();
  virtual void ColorMatchEndForDraw();
  // `rows` rows of `width` R, G, B pixels, packed, matched in place. Each match answers
  // cmProfileError while a profile is missing and changes nothing.
  virtual OSErr ColorMatchForPixel(char* row, long width, long rows);
  virtual OSErr ColorMatchForPixMap(PixMap* pixMap);
  virtual OSErr ColorMatchForPixelInternal(CMBitmap* bitmap);

  // Each replaces (and closes) the profile it sets; the file-based ones answer the File
  // Manager's or ColorSync's error and leave no profile on failure.
  OSErr OpenSourceProfile(const FSSpec& spec);
  OSErr OpenDestinationProfile(const FSSpec& spec);
  void SetSourceProfileRef(CMProfileRef profile);
  void SetDestinationProfileRef(CMProfileRef profile);
  // The main display's profile, or none when it cannot be had.
  void SetDestinationForMainDisplay();
  bool HasProfiles() const { return mSource && mDestination; }

  static OSErr GetProfileForMainDisplay(CMProfileRef* profile);
  // 1 and the profile's file when an installed profile file has exactly this name (bytes
  // compared, case counts); else 0 and a cleared specification.
  static Boolean FindProfile(LStr255 name, FSSpec& spec);
  static OSErr GetSystemDomainColorSyncFolder(short& vRefNum, long& dirID);
  static OSErr GetLocalDomainColorSyncFolder(short& vRefNum, long& dirID);

 private:
  OSErr MakeWorld();
  void ReplaceProfile(CMProfileRef* slot, CMProfileRef profile);

  CMProfileRef mSource = nullptr;
  CMProfileRef mDestination = nullptr;
  CMWorldRef mWorld = nullptr;  // made from the two profiles on the first match
  CMMatchRef mDrawMatch = nullptr;
};
