// The format-option records of a function record (`R`: PREF_SAVE, PREF_MAIL, PREF_SCANX...),
// copied out for the writers and the preview, and back. A record without PDF options leaves
// them zero.
#pragma once

#include <cstring>

#include "prefs/PrefRecords.h"

template <class R>
struct RecordFormatOptions {
  StPDFDialog pdf{};
  StJPEGDialog jpeg;
  StOtherDialog pict;
  StOtherDialog tiff;

  explicit RecordFormatOptions(RecordBytes record) {
    if constexpr (requires { R::kPDF; }) Copy(R::kPDF.in(record).data(), pdf.bytes.data(), StPDFDialog::kSize);
    Copy(R::kJPEG.in(record).data(), jpeg.bytes.data(), StJPEGDialog::kSize);
    Copy(R::kPICT.in(record).data(), pict.bytes.data(), StOtherDialog::kSize);
    Copy(R::kTIFF.in(record).data(), tiff.bytes.data(), StOtherDialog::kSize);
  }
  void StoreInto(RecordBytes record) const {
    if constexpr (requires { R::kPDF; }) Copy(pdf.bytes.data(), R::kPDF.in(record).data(), StPDFDialog::kSize);
    Copy(jpeg.bytes.data(), R::kJPEG.in(record).data(), StJPEGDialog::kSize);
    Copy(pict.bytes.data(), R::kPICT.in(record).data(), StOtherDialog::kSize);
    Copy(tiff.bytes.data(), R::kTIFF.in(record).data(), StOtherDialog::kSize);
  }

 private:
  static void Copy(const uint8_t* from, uint8_t* to, size_t size) { std::memcpy(to, from, size); }
};
