#include "twain/twSourceWindow.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "framework/LCommander.h"
#include "framework/LListener.h"
#include "framework/LPushButton.h"
#include "framework/LRadioButton.h"
#include "framework/LRadioGroup.h"
#include "framework/LStaticText.h"
#include "framework/LWindow.h"
#include "windows/MacWindows.h"

namespace {

const unsigned char kTitle[] = "\x10" "Scanner settings";

void twPstr(Str255 out, const char* text) {
  size_t n = std::min<size_t>(std::strlen(text), 255);
  out[0] = static_cast<unsigned char>(n);
  std::memcpy(out + 1, text, n);
}

class TwSourceWindow : public LListener {
 public:
  TwSourceWindow(const TwainSourceWindowInfo& info, TwainSourceWindowDone done, void* context)
      : mDone(done), mContext(context) {
    Rect bounds{0, 0, 150, 300};
    mWindow = new LWindow(bounds, kTitle, kDocumentWindowClass, 0, LCommander::GetDefaultCommander());
    char text[128];
    std::snprintf(text, sizeof text, "%.*s\r%d dpi", info.productName[0], reinterpret_cast<const char*>(info.productName + 1),
                  info.resolution);
    Str255 ptext;
    twPstr(ptext, text);
    new LStaticText(MakePaneInfo(mWindow, kTwWindowText, 10, 10, 280, 34), ptext);
    auto* group = new LRadioGroup;
    const struct {
      int32_t id;
      TW_UINT16 type;
      const char* title;
    } radios[] = {{kTwWindowBW, TWPT_BW, "B&W"}, {kTwWindowGray, TWPT_GRAY, "Grey"}, {kTwWindowRGB, TWPT_RGB, "Colour"}};
    for (int i = 0; i < 3; ++i) {
      Str255 title;
      twPstr(title, radios[i].title);
      mRadios[i] = new LRadioButton(MakePaneInfo(mWindow, radios[i].id, 10 + 90 * i, 54, 85, 18),
                                    radios[i].id, radios[i].type == info.pixelType ? 1 : 0, title);
      mTypes[i] = radios[i].type;
      group->AddRadio(mRadios[i]);
    }
    mWindow->AddAttachment(group);
    Str255 scan, cancel;
    twPstr(scan, "Scan");
    twPstr(cancel, "Cancel");
    auto* cancelButton = new LPushButton(MakePaneInfo(mWindow, kTwWindowCancel, 110, 115, 80, 20), kTwWindowCancel, cancel);
    auto* scanButton = new LPushButton(MakePaneInfo(mWindow, kTwWindowScan, 200, 115, 80, 20), kTwWindowScan, scan);
    scanButton->SetDefaultButton(true);
    scanButton->AddListener(this);
    cancelButton->AddListener(this);
    mWindow->Show();
    mWindow->Select();
  }
  ~TwSourceWindow() override { delete mWindow; }
  TwSourceWindow(const TwSourceWindow&) = delete;
  TwSourceWindow& operator=(const TwSourceWindow&) = delete;

  void ListenToMessage(MessageT message, void*) override {
    if (message == kTwWindowCancel) {
      mDone(mContext, 0, 0);
    } else if (message == kTwWindowScan) {
      TW_UINT16 type = TWPT_GRAY;
      for (int i = 0; i < 3; ++i) {
        if (mRadios[i]->GetValue() != 0) type = mTypes[i];
      }
      mDone(mContext, 1, type);
    }
  }

 private:
  LWindow* mWindow;
  LRadioButton* mRadios[3];
  TW_UINT16 mTypes[3];
  TwainSourceWindowDone mDone;
  void* mContext;
};

}  // namespace

void* twOpenSourceWindow(const TwainSourceWindowInfo* info, TwainSourceWindowDone done, void* context) {
  if (!info || !done) return nullptr;
  try {
    return new TwSourceWindow(*info, done, context);
  } catch (...) {
    return nullptr;
  }
}

void twCloseSourceWindow(void* window) { delete static_cast<TwSourceWindow*>(window); }
