// One print job: its pages written into a PDF beside its destination, then handed over, to
// the folder under a new numbered name or to a CUPS queue. Whatever fails leaves no file and
// no job behind.
#pragma once

#include <memory>
#include <string>

#include "paginor/PDFWriter.h"
#include "printing/pmPrintPort.h"
#include "printing/pmPrinters.h"

struct pmJobTicket {
  std::string title;
  UInt32 copies = 1;
  bool collate = true;
  pmGeometry geometry;
};

class pmJob {
 public:
  // dirNFErr when the folder printer's folder is gone.
  static OSStatus Start(const pmPrinterInfo& printer, const pmJobTicket& ticket, std::unique_ptr<pmJob>* job);
  ~pmJob();
  pmJob(const pmJob&) = delete;
  pmJob& operator=(const pmJob&) = delete;

  OSStatus BeginPage(const pmGeometry& geometry);
  // The open page's port; null between pages.
  GrafPtr Port() const { return mPage ? mPage->Port() : nullptr; }
  OSStatus EndPage();
  // Completes the document and hands it over; with `cancel` (or after a failure) it is dropped.
  OSStatus Finish(bool cancel);
  // Where the folder printer put the last document.
  const std::string& DeliveredPath() const { return mDelivered; }

 private:
  pmJob(const pmPrinterInfo& printer, const pmJobTicket& ticket, std::string scratch);
  OSStatus DeliverToFolder();
  OSStatus DeliverToCups();

  pmPrinterInfo mPrinter;
  pmJobTicket mTicket;
  std::string mScratch;
  std::unique_ptr<PDFWriter> mWriter;
  std::unique_ptr<pmPrintPort> mPage;
  std::string mDelivered;
};

// The folder printer's documents: "Print <n>.pdf", n from 1 upwards, the first name free.
std::string pmFolderDocumentName(int number);

// For tests of what a failed print shows: the next `delivered` jobs are handed over, every
// later one fails with `error` at its hand-over, its pages drawn but nothing left behind.
// `error` noErr (the start) lets every job through.
void pmFailJobsAfter(int delivered, OSStatus error);
