// A single-line text field. Keys go through its key filter; accepted characters replace
// the selection unless TooManyCharacters says the field is full. With the Japanese system
// script a two-byte character is never split: its first byte waits for its second, and
// deletion, cursor movement and the length limit work on whole characters. Every change
// by the user calls UserChangedText and broadcasts the value message.
#pragma once

#include <string>

#include "framework/LCommander.h"
#include "framework/LControl.h"
#include "framework/UKeyFilters.h"

class LEditText : public LControl, public LCommander {
 public:
  static constexpr ClassIDT class_ID = 'etxt';

  LEditText(const SPaneInfo& paneInfo, LCommander* super, ConstStr255Param text, ResIDT textTraitsID,
            MessageT valueMessage, SInt16 maxChars, KeyFilterFunc keyFilter = &UKeyFilters::PrintingCharField);
  // Layout data: the control's, then layout::kEditText.
  explicit LEditText(LStream* stream, ClassIDT implementation = 'ietx');

  StringPtr GetDescriptor(Str255 outText) const override;
  void SetDescriptor(ConstStr255Param text) override;
  SInt32 GetValue() const override;
  void SetValue(SInt32 value) override;
  const std::string& GetText() const { return mText; }

  void SetKeyFilter(KeyFilterFunc filter) { mKeyFilter = filter; }
  KeyFilterFunc GetKeyFilter() const { return mKeyFilter; }
  void SetMaxChars(SInt16 maxChars) { mMaxChars = maxChars; }
  SInt16 GetMaxChars() const { return mMaxChars; }

  void GetSelection(SInt16& outStart, SInt16& outEnd) const;
  void SetSelection(SInt16 start, SInt16 end);
  void SelectAll();

  bool HandleKeyPress(const EventRecord& event) override;
  bool ObeyCommand(CommandT command, void* param) override;
  void FindCommandStatus(CommandT command, bool& outEnabled, bool& outUsesMark, UInt16& outMark,
                         Str255 outName) override;

  // True when adding `charsToAdd` bytes in place of the selection would pass the limit.
  virtual bool TooManyCharacters(SInt32 charsToAdd);

 protected:
  virtual void UserChangedText();
  void DrawSelf() override;
  void ClickSelf(const SMouseDownEvent& event) override;
  void BeTarget() override;
  void DontBeTarget() override;
  void ActivateSelf() override { Refresh(); }
  void DeactivateSelf() override { Refresh(); }
  bool ExecuteCommanderAttachments(MessageT message, void* param) override;

 private:
  // Start of the character before / after byte offset `at`.
  size_t PreviousCharStart(size_t at) const;
  size_t NextCharEnd(size_t at) const;
  // The longest prefix of `bytes` of at most `limit` bytes that ends on a character boundary.
  size_t FitWholeChars(const std::string& bytes, size_t limit) const;
  void ReplaceSelection(const std::string& bytes);
  size_t OffsetAt(SInt16 h) const;
  void TextRect(Rect& out) const;

  std::string mText;
  size_t mSelStart = 0;
  size_t mSelEnd = 0;
  SInt16 mMaxChars = 255;
  ResIDT mTextTraitsID = 0;
  KeyFilterFunc mKeyFilter = &UKeyFilters::PrintingCharField;
  bool mFramed = true;
  UInt8 mPendingLead = 0;  // first byte of a two-byte character waiting for its second
  SInt16 mScroll = 0;      // pixels of text scrolled out at the left
};
