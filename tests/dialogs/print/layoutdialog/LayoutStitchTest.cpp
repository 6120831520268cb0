// The Print function's stitch road with a scripted wizard: a stitch size hands the scan to the
// wizard with the Print function's arguments, a wizard that closes shows the Print dialog
// again, and the page the wizard hands back reaches the page layout.
#include <gtest/gtest.h>

#include <vector>

#include "LayoutDialogTestEnv.h"
#include "output/hubdialogs/WXScan.h"
#include "preview/CStitchDialog.h"

// ---- The scripted stitch wizard: it records its call; the test plays its part. ----------

namespace {

struct StitchCall {
  long function = 0, source = 0, driverUI = 0, paper = 0, resolution = 0;
  LCommander* super = nullptr;
  LDialogBox* caller = nullptr;
  FSSpec destination{}, temp{};
  bool optionsNull = false;
};
std::vector<StitchCall> gStitchCalls;
// Only its address goes back: the dialog never calls the wizard, so none is built.
alignas(CStitchDialog) unsigned char gWizard[sizeof(CStitchDialog)];

}  // namespace

CStitchDialog* CStitchDialog::ShowStitchDialog(long function, unsigned char, unsigned char*, SDimension16, long source,
                                               long, long showDriverUI, long paperIndex, long resolution,
                                               LCommander* super, long, unsigned char, long, LDialogBox* caller,
                                               unsigned char, unsigned char, FSSpec spec1, FSSpec spec2,
                                               StPDFDialog* pdf, StJPEGDialog* jpeg, StOtherDialog* pict,
                                               StOtherDialog* tiff, unsigned char, long, unsigned long,
                                               PREF_FILE* file) {
  StitchCall call;
  call.function = function;
  call.source = source;
  call.driverUI = showDriverUI;
  call.paper = paperIndex;
  call.resolution = resolution;
  call.super = super;
  call.caller = caller;
  call.destination = spec1;
  call.temp = spec2;
  call.optionsNull = !pdf && !jpeg && !pict && !tiff && !file;
  gStitchCalls.push_back(call);
  return reinterpret_cast<CStitchDialog*>(gWizard);
}

namespace wxapp {
namespace {

TEST_F(LayoutDialogTest, AStitchSizeGoesThroughTheWizardAndItsPageReachesTheLayout) {
  // The wizard hands back one merged page: a flatbed scan.
  wxsane::UseSaneDocumentSource("Dremlo Model A", "");
  Edit([](RecordBytes all) { PREF_PRINT::kPaperSize.set(PREF_ALL::kPrint.in(all), UInt32(Paper_Size_A3_Stitch)); });
  fs::path temp;
  WithPrefs([&](RecordBytes all) { temp = wxscan::PathOf(PREF_SETTING::kTempFolder.get(PREF_ALL::kSetting.in(all))); });
  gStitchCalls.clear();
  ASSERT_NE(nullptr, Open());
  ASSERT_TRUE(Dialog()->IsStitch());
  const long resolution = Dialog()->GetResolutionValue();

  Dialog()->ListenToMessage(msg_OK, nullptr);
  ASSERT_EQ(1u, gStitchCalls.size());
  const StitchCall& call = gStitchCalls[0];
  EXPECT_EQ(2, call.function) << "the Print function's";
  EXPECT_EQ(1, call.source);
  EXPECT_EQ(0, call.driverUI);
  EXPECT_EQ(Paper_Size_A3_Stitch, call.paper);
  EXPECT_EQ(resolution, call.resolution);
  EXPECT_EQ(Dialog(), call.super);
  EXPECT_EQ(Dialog(), call.caller);
  EXPECT_EQ(0, call.destination.vRefNum);
  EXPECT_EQ(temp, wxscan::PathOf(call.temp));
  EXPECT_TRUE(call.optionsNull);
  EXPECT_FALSE(Dialog()->IsVisible()) << "the wizard has the screen";
  Dialog()->ListenToMessage(CStitchDialog::msg_StitchClosed, nullptr);
  EXPECT_TRUE(Dialog()->IsVisible()) << "a closed wizard shows the dialog again";

  Dialog()->ListenToMessage(msg_OK, nullptr);
  ASSERT_EQ(2u, gStitchCalls.size());
  SInt32 thumbnails = 0;
  bool picture = false;
  Run({[&](CPrintLayoutDialog* l) {
    thumbnails = l->Strip()->CountThumbnails();
    picture = l->Area()->GetPicture() != nullptr;
    ClickPane(l, 'BTFN');
  }});
  // The wizard's merged page: a scan of its own into the folder it was handed, whose watcher
  // tells the dialog.
  auto* twain = new CTWAIN;
  twain->SetTempFolder(gStitchCalls.back().temp);
  auto* checker = new CThreadChecker(Dialog(), twain);
  Str255 model;
  PStrFromString("Dremlo Model A", model);
  ASSERT_EQ(1, CWXUtility::ImportFromDevice(2, 1, checker, model, SDimension16{400, 500}, 0, 1, 2, 0,
                                            Paper_Size_custom, 150, Dialog(), 4, 0));
  for (int i = 0; i < 2000 && Dialog(); ++i) {
    mApp->ProcessNextEvent();
    LThread::Yield();
  }
  EXPECT_FALSE(HasDialogActions()) << "the layout never opened";
  EXPECT_EQ(1, thumbnails);
  EXPECT_TRUE(picture);
  EXPECT_EQ(nullptr, Dialog()) << "finishing the layout closes the Print dialog";
  EXPECT_EQ(0u, TempCopies());
}

}  // namespace
}  // namespace wxapp
