#include "output/hubdialogs/WXFormatDialogs.h"

#include "prefs/LanguageTables.h"
#include "framework/LCaption.h"
#include "framework/LCheckBox.h"
#include "framework/LException.h"
#include "framework/LPopupButton.h"
#include "framework/LRadioButton.h"
#include "framework/LWindow.h"
#include "output/hubdialogs/HubDialog.h"

namespace CWXUtility {

namespace {

void SetEnabled(LPane* pane, bool enabled) {
  if (enabled)
    pane->Enable();
  else
    pane->Disable();
}

// The language popup lists the languages of this system's build.
void LoadLanguagePopup(LPopupButton* popup, UInt32 item) {
  popup->SetMenuID(IS_J ? kLanguageMenuJ : kLanguageMenu);
  popup->SetValue(SInt32(item));
}

SInt32 Bit(UInt32 stored) { return stored != 0 ? 1 : 0; }

// The language popup and its caption, enabled together.
struct LanguageChoice {
  LPopupButton* languageItem;
  LCaption* languageLabel;

  LanguageChoice(LView* dialog, PaneIDT item, PaneIDT label)
      : languageItem(FindPaneAs<LPopupButton>(dialog, item)), languageLabel(FindPaneAs<LCaption>(dialog, label)) {}

  void EnableLanguage(bool on) {
    SetEnabled(languageItem, on);
    SetEnabled(languageLabel, on);
  }
};

// ---- PDF ----------------------------------------------------------------------------------

struct PDFPanes : LanguageChoice {
  LCheckBox* language;  // 'CBXS'
  LRadioButton* normal;
  LRadioButton* high;
  LCheckBox* optionCR;
  LCheckBox* optionXT;  // depends on the language option
  LCheckBox* optionXP;

  explicit PDFPanes(LView* dialog)
      : LanguageChoice(dialog, 'POPL', 'LTXP'),
        language(FindPaneAs<LCheckBox>(dialog, 'CBXS')),
        normal(FindPaneAs<LRadioButton>(dialog, 'RDNR')),
        high(FindPaneAs<LRadioButton>(dialog, 'RDHI')),
        optionCR(FindPaneAs<LCheckBox>(dialog, 'CBCR')),
        optionXT(FindPaneAs<LCheckBox>(dialog, 'CBXT')),
        optionXP(FindPaneAs<LCheckBox>(dialog, 'CBXP')) {}
};

void SetCompression(PDFPanes& p, bool normal) {
  p.normal->SetValue(normal ? 1 : 0);
  p.high->SetValue(normal ? 0 : 1);
}

}  // namespace

SInt32 PDFSetting(SInt32 layoutID, LCommander* super, StPDFDialog& record, UInt8, UInt8 previewMode, UInt8 noCBXP,
                  UInt8 noCBXT) {
  HubDialog<> pdfDialog(layoutID, super);
  PDFPanes p(pdfDialog.dialog());
  RecordBytes r = record.view();

  p.language->SetValue(Bit(StPDFDialog::kLanguageOption.get(r)));
  LoadLanguagePopup(p.languageItem, StPDFDialog::kLanguage.get(r));
  p.optionCR->SetValue(Bit(StPDFDialog::kOptionCBCR.get(r)));
  p.optionXT->SetValue(Bit(StPDFDialog::kOptionCBXT.get(r)));
  p.optionXP->SetValue(Bit(StPDFDialog::kOptionCBXP.get(r)));

  if (previewMode) {
    p.optionXT->Disable();
    p.optionCR->Disable();
    p.optionXP->Disable();
    p.EnableLanguage(StPDFDialog::kLanguageOption.get(r) == 1);
  } else {
    const bool languageOn = StPDFDialog::kLanguageOption.get(r) == 1;
    p.EnableLanguage(languageOn);
    SetEnabled(p.optionXT, languageOn);
  }
  const UInt32 compression = StPDFDialog::kCompression.get(r);
  if (StPDFDialog::kRestricted.get(r) != 0) {
    p.high->Disable();
    SetCompression(p, compression != 0);
  } else {
    SetCompression(p, compression == 1);
  }
  if (noCBXP) p.optionXP->Disable();
  if (noCBXT) p.optionXT->Disable();

  const auto accept = [&] {
    StPDFDialog::kLanguageOption.set(r, UInt32(p.language->GetValue()));
    StPDFDialog::kLanguage.set(r, UInt32(p.languageItem->GetValue()));
    StPDFDialog::kOptionCBCR.set(r, UInt32(p.optionCR->GetValue()));
    StPDFDialog::kOptionCBXT.set(r, UInt32(p.optionXT->GetValue()));
    StPDFDialog::kOptionCBXP.set(r, UInt32(p.optionXP->GetValue()));
    StPDFDialog::kCompression.set(r, p.normal->GetValue() != 0 ? 1 : 2);
    return true;
  };
  return pdfDialog.Run(accept, [&](MessageT message) -> SInt32 {
    if (message == 'CBXS') {
      const bool on = p.language->GetValue() != 0;
      p.EnableLanguage(on);
      if (previewMode) return 0;
      if (on) {
        SetEnabled(p.optionXT, !noCBXT);
      } else {
        p.optionXT->Disable();
        p.optionXT->SetValue(0);
        StPDFDialog::kOptionCBXT.set(r, 0);  // at once, as the callers rely on
      }
    } else if (message == 'CBXT') {
      p.EnableLanguage(p.language->GetValue() != 0 || (!previewMode && p.optionXT->GetValue() != 0));
    }
    return 0;
  });
}

namespace {

// ---- JPEG, TIFF and PICT: the same dialog with other pane IDs ---------------------------

struct ImageOptionIDs {
  PaneIDT language, languageItem, languageLabel, optionSLT, optionPRB;
};

struct ImageOptionPanes : LanguageChoice {
  LCheckBox* language;
  LCheckBox* optionSLT;
  LCheckBox* optionPRB;

  ImageOptionPanes(LView* dialog, const ImageOptionIDs& id)
      : LanguageChoice(dialog, id.languageItem, id.languageLabel),
        language(FindPaneAs<LCheckBox>(dialog, id.language)),
        optionSLT(FindPaneAs<LCheckBox>(dialog, id.optionSLT)),
        optionPRB(FindPaneAs<LCheckBox>(dialog, id.optionPRB)) {}
};

// The words 0 to 12 are shared by both records.
constexpr PrefU32 kLanguageOption = StJPEGDialog::kLanguageOption;
constexpr PrefU32 kLanguage = StJPEGDialog::kLanguage;
constexpr PrefU32 kOptionSLT = StJPEGDialog::kOptionSLT;
constexpr PrefU32 kOptionPRB = StJPEGDialog::kOptionPRB;
static_assert(kLanguageOption.off == StOtherDialog::kLanguageOption.off && kLanguage.off == StOtherDialog::kLanguage.off &&
              kOptionSLT.off == StOtherDialog::kOptionSLT.off && kOptionPRB.off == StOtherDialog::kOptionPRB.off);

struct Compression {
  LPopupButton* popup = nullptr;  // null for TIFF and PICT
  LCaption* label = nullptr;
};

SInt32 RunImageOptions(SInt32 layoutID, LCommander* super, RecordBytes r, const ImageOptionIDs& ids,
                       bool hasCompression, UInt8 showCompression, UInt8 previewMode, UInt8 noPRB, UInt8 noLanguage) {
  HubDialog<> optionsDialog(layoutID, super);
  ImageOptionPanes p(optionsDialog.dialog(), ids);
  Compression c;
  if (hasCompression) {
    c.popup = optionsDialog.Pane<LPopupButton>('POPC');
    c.label = optionsDialog.Pane<LCaption>('StrJ');
  }

  p.language->SetValue(Bit(kLanguageOption.get(r)));
  LoadLanguagePopup(p.languageItem, kLanguage.get(r));
  p.optionSLT->SetValue(Bit(kOptionSLT.get(r)));
  p.optionPRB->SetValue(Bit(kOptionPRB.get(r)));
  if (c.popup) {
    c.popup->SetValue(SInt32(StJPEGDialog::kCompression.get(r)));
    if (!showCompression) {
      c.popup->Hide();
      c.label->Hide();
    }
  }
  if (previewMode) {
    p.language->Disable();
    p.optionSLT->Disable();
    p.optionPRB->Disable();
    p.EnableLanguage(false);
  }
  if (noPRB) p.optionPRB->Disable();
  if (noLanguage) {
    p.language->Disable();
    p.EnableLanguage(false);
  }
  if (kLanguageOption.get(r) == 0) p.EnableLanguage(false);

  const auto accept = [&] {
    if (p.language->IsEnabled()) kLanguageOption.set(r, UInt32(p.language->GetValue()));
    kOptionSLT.set(r, UInt32(p.optionSLT->GetValue()));
    kOptionPRB.set(r, UInt32(p.optionPRB->GetValue()));
    kLanguage.set(r, UInt32(p.languageItem->GetValue()));
    // A hidden popup still holds the stored level.
    if (c.popup) StJPEGDialog::kCompression.set(r, UInt32(c.popup->GetValue()));
    return true;
  };
  return optionsDialog.Run(accept, [&](MessageT message) -> SInt32 {
    if (message == ids.language) p.EnableLanguage(!previewMode && p.language->GetValue() != 0);
    return 0;
  });
}

}  // namespace

SInt32 JPEGSetting(SInt32 layoutID, LCommander* super, StJPEGDialog& record, UInt8 showCompression, UInt8 previewMode,
                   UInt8 noPRB, UInt8 noLanguage) {
  return RunImageOptions(layoutID, super, record.view(), {'TUNJ', 'LNGJ', 'LTXJ', 'SLTJ', 'PRBJ'}, true,
                         showCompression, previewMode, noPRB, noLanguage);
}

SInt32 OtherSetting(SInt32 layoutID, LCommander* super, StOtherDialog& record, UInt8, UInt8 previewMode, UInt8 noPRB,
                    UInt8 noLanguage) {
  return RunImageOptions(layoutID, super, record.view(), {'TUNO', 'LNGO', 'LTXO', 'SLTO', 'PRBO'}, false, 1,
                         previewMode, noPRB, noLanguage);
}

}  // namespace CWXUtility
