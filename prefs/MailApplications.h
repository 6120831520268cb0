// The Mail record's mail application and its list of known mail applications.
#pragma once

#include "prefs/PrefRecords.h"

// Adds `app` to the known mail applications; the list has room for 256, and past that
// nothing is listed (false).
bool ListMailApplication(RecordBytes mail, const FSSpec& app);
// Forgets the mail application but keeps its name's first byte, which tells an application
// that was lost from one never chosen.
void ForgetMailApplication(RecordBytes mail);
// No mail application now, but one was chosen once.
bool MailApplicationLost(RecordBytes mail);
