#include "prefs/MailApplications.h"

namespace {
constexpr size_t kVolume = 0, kParent = 2, kNameLength = 6, kFirstNameByte = 7;
}  // namespace

bool ListMailApplication(RecordBytes mail, const FSSpec& app) {
  const uint32_t count = PREF_MAIL::kMailAppCount.get(mail);
  if (count >= PREF_MAIL::kMaxMailApps) return false;
  PREF_MAIL::kMailApps.set(mail, count, app);
  PREF_MAIL::kMailAppCount.set(mail, count + 1);
  return true;
}

void ForgetMailApplication(RecordBytes mail) {
  const size_t off = PREF_MAIL::kMailApp.off;
  mail.setI16(off + kVolume, 0);
  mail.setI32(off + kParent, 0);
  mail.setU8(off + kNameLength, 0);
}

bool MailApplicationLost(RecordBytes mail) {
  const size_t off = PREF_MAIL::kMailApp.off;
  return mail.u8(off + kNameLength) == 0 && mail.u8(off + kFirstNameByte) != 0;
}
