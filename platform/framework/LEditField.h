// A TextEdit field: one or many lines, up to 32,767 bytes, word-wrapped when asked, kept
// scrolled so the caret shows. Keys go through the key filter as in LEditText; a two-byte
// character is never split. Every change by the user calls UserChangedText.
#pragma once

#include "framework/LCommander.h"
#include "framework/LPane.h"
#include "framework/LTETypingAction.h"
#include "framework/UKeyFilters.h"
#include "windows/TextEdit.h"

class LEditField : public LPane, public LCommander {
 public:
  static constexpr ClassIDT class_ID = 'edit';

  LEditField(const SPaneInfo& paneInfo, ConstStr255Param text, ResIDT textTraitsID, SInt16 maxChars, bool hasBox,
             bool wordWrap, KeyFilterFunc keyFilter, LCommander* super);
  // Layout data: the pane's, then layout::kEditField.
  explicit LEditField(LStream* stream);
  ~LEditField() override;

  TEHandle GetMacTEH() const { return mTE; }
  StringPtr GetDescriptor(Str255 outText) const override;
  void SetDescriptor(ConstStr255Param text) override;
  // The whole text (which may pass 255 bytes).
  void SetText(const void* text, SInt32 length);
  SInt32 GetValue() const override;
  void SetValue(SInt32 value) override;
  void SetKeyFilter(KeyFilterFunc filter) { mKeyFilter = filter; }
  void SelectAll();

  bool HandleKeyPress(const EventRecord& event) override;
  bool ObeyCommand(CommandT command, void* param) override;
  virtual bool TooManyCharacters(SInt32 charsToAdd);
  void ResizeFrameBy(SInt16 dw, SInt16 dh, bool refresh) override;
  void MoveBy(SInt32 dh, SInt32 dv, bool refresh) override;

 protected:
  virtual void UserChangedText() {}
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void BeTarget() override;
  void DontBeTarget() override;
  bool ExecuteCommanderAttachments(MessageT message, void* param) override;

 private:
  void Init(ConstStr255Param text, ResIDT traitsID, SInt16 maxChars, bool hasBox, bool wordWrap);
  void TextRects(Rect& outView) const;
  // The action recording the typing (an unposted stand-in when no undoer keeps actions).
  LTETypingAction* TypingAction();
  void Changed();

  TEHandle mTE = nullptr;
  ResIDT mTextTraitsID = 0;
  SInt16 mMaxChars = 255;
  bool mHasBox = true;
  KeyFilterFunc mKeyFilter = &UKeyFilters::PrintingCharField;
  UInt8 mPendingLead = 0;
  LTETypingAction* mTypingAction = nullptr;  // not owned: the undoer keeps it
  LTETypingAction mScratchAction{nullptr, nullptr};
};
