// Factory defaults of the preferences record: one operation per record, each writing only
// into the given PREF_ALL and returning the view of the record it wrote.
//
// The defaults depend on the measurement system, the language tables, the configured model
// and the site defaults; the TWAIN data sources and the measurement system come in as
// FDSources, so every caller (the store, the dump tool, tests) states where they come from.
#pragma once

#include <functional>
#include <vector>

#include "prefs/PrefRecords.h"

struct FDSources {
  // Product names (Pascal strings) of the TWAIN data sources, in list order; false when
  // there is no list.
  std::function<bool(std::vector<std::vector<unsigned char>>* names)> dataSources;
  bool metric = true;
};

// Product ID of a model as the hub's driver query gives it without plug-in or source lists:
// the model table's ID with the TWAIN flag, 0 without it or for an unknown model.
long FDProductID(unsigned char isTWAIN, ConstStr255Param modelName);

// 1 for "J" and "E", 2 for "F", 4 otherwise.
uint32_t FDLanguageValue();

void FDSetDefault(RecordBytes all, const FDSources& src);
RecordBytes FDScannerDriver(RecordBytes all, const FDSources& src);
RecordBytes FDSetting(RecordBytes all);
RecordBytes FDCopy(RecordBytes all, const FDSources& src);
RecordBytes FDPrint(RecordBytes all, const FDSources& src);
RecordBytes FDMail(RecordBytes all, const FDSources& src);
RecordBytes FDOCR(RecordBytes all, const FDSources& src);
RecordBytes FDSave(RecordBytes all, const FDSources& src);
// All five File records; returns record 0.
RecordBytes FDFile(RecordBytes all, const FDSources& src);
// Resets one tab; returns the tab's record (record tab + 1), or record 0 for a tab outside 0..3.
RecordBytes FDFileTab(RecordBytes all, long tab, const FDSources& src);
RecordBytes FDScan1(RecordBytes all, const FDSources& src);
RecordBytes FDScan2(RecordBytes all, const FDSources& src);
RecordBytes FDExif(RecordBytes all);
void FDButtonNames(RecordBytes all);
void FDFileNames(RecordBytes all);
// Puts the factory caption in place of every button caption that holds control bytes (the
// mark of a damaged file): the main window shows them as they are.
void FDRepairRecord(RecordBytes all);
