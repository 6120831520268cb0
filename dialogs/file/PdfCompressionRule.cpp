#include "dialogs/file/PdfCompressionRule.h"

void ApplyPdfCompressionRule(RecordBytes pdf, bool blackAndWhite) {
  if (blackAndWhite) {
    StPDFDialog::kSavedCompression.set(pdf, StPDFDialog::kCompression.get(pdf));
    StPDFDialog::kCompression.set(pdf, 1);
    StPDFDialog::kRestricted.set(pdf, 1);
  } else if (StPDFDialog::kRestricted.get(pdf) == 1) {
    StPDFDialog::kCompression.set(pdf, StPDFDialog::kSavedCompression.get(pdf));
    StPDFDialog::kRestricted.set(pdf, 0);
  }
}
