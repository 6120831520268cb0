// Apple Event Manager: descriptors that own their data, lists, records and Apple events,
// and sending them.
//
// A descriptor's data lives in a Memory Manager handle that the descriptor owns
// (AEDisposeDesc frees it). Lists, records and Apple events hold their items flattened in
// that handle, so a descriptor is also what travels between processes unchanged.
//
// AESend delivers by the target address: this process (its own queue, as a high-level
// event); the file manager (signature 'MACS' or its process serial number), which opens
// each document of an open-documents event with the desktop's opener ($WX_OPENER, default
// xdg-open); or an application this process launched, which an open-documents event starts
// with the documents (see Processes.h). Only kAENoReply is supported.
#pragma once

#include "toolbox/Files.h"
#include "toolbox/MacTypes.h"

typedef ResType DescType;
typedef FourCharCode AEKeyword;
typedef FourCharCode AEEventClass;
typedef FourCharCode AEEventID;
typedef SInt16 AEReturnID;
typedef SInt32 AETransactionID;
typedef SInt32 AESendMode;
typedef SInt16 AESendPriority;

struct AEDesc {
  DescType descriptorType;
  Handle dataHandle;
};
typedef AEDesc AEAddressDesc;
typedef AEDesc AEDescList;
typedef AEDesc AERecord;
typedef AEDesc AppleEvent;

enum : DescType {
  typeNull = 'null',
  typeBoolean = 'bool',
  typeTrue = 'true',
  typeFalse = 'fals',
  typeSInt16 = 'shor',
  typeSInt32 = 'long',
  typeType = 'type',
  typeChar = 'TEXT',
  typeUTF8Text = 'utf8',
  typeAlias = 'alis',
  typeFSS = 'fss ',
  typeFSRef = 'fsrf',
  typeFileURL = 'furl',
  typeAEList = 'list',
  typeAERecord = 'reco',
  typeAppleEvent = 'aevt',
  typeProcessSerialNumber = 'psn ',
  typeApplSignature = 'sign',
  typeKernelProcessID = 'kpid',
  typeWildCard = '****',
};

enum : AEKeyword {
  keyDirectObject = '----',
  keyAddressAttr = 'addr',
  keyEventClassAttr = 'evcl',
  keyEventIDAttr = 'evid',
  keyReturnIDAttr = 'rtid',
  keyTransactionIDAttr = 'tran',
  keyOriginalAddressAttr = 'from',
  keyErrorNumber = 'errn',
};

enum : AEEventClass { kCoreEventClass = 'aevt' };
enum : AEEventID {
  kAEOpenApplication = 'oapp',
  kAEReopenApplication = 'rapp',
  kAEOpenDocuments = 'odoc',
  kAEPrintDocuments = 'pdoc',
  kAEQuitApplication = 'quit',
};

enum : AEReturnID { kAutoGenerateReturnID = -1 };
enum : AETransactionID { kAnyTransactionID = 0 };
enum : AESendMode {
  kAENoReply = 0x00000001,
  kAEQueueReply = 0x00000002,
  kAEWaitReply = 0x00000003,
  kAENeverInteract = 0x00000010,
  kAECanInteract = 0x00000020,
  kAEAlwaysInteract = 0x00000030,
  kAECanSwitchLayer = 0x00000040,
  kAEDontReconnect = 0x00000080,
  kAEWantReceipt = 0x00000200,
  kAEDontRecord = 0x00001000,
  kAEDontExecute = 0x00002000,
};
enum : AESendPriority { kAENormalPriority = 0, kAEHighPriority = 1 };
enum : SInt32 { kAEDefaultTimeout = -1, kNoTimeOut = -2 };

enum : OSErr {
  errAECoercionFail = -1700,
  errAEDescNotFound = -1701,
  errAECorruptData = -1702,
  errAEWrongDataType = -1703,
  errAENotAEDesc = -1704,
  errAEBadListItem = -1705,
  errAENotAppleEvent = -1707,
  errAEEventNotHandled = -1708,
  errAEUnknownSendMode = -1715,
  errAEUnknownAddressType = -1716,
  connectionInvalid = -609,
};

// Descriptors. A null descriptor has type typeNull and no data.
void AEInitializeDesc(AEDesc* desc);
OSErr AECreateDesc(DescType typeCode, const void* dataPtr, Size dataSize, AEDesc* result);
OSErr AEDisposeDesc(AEDesc* desc);
OSErr AEDuplicateDesc(const AEDesc* desc, AEDesc* result);
Size AEGetDescDataSize(const AEDesc* desc);
// Copies at most `maximumSize` bytes.
OSErr AEGetDescData(const AEDesc* desc, void* dataPtr, Size maximumSize);
// Coercions: to the same type; Booleans among 'bool', 'true', 'fals', 'shor', 'long'
// (non-zero is true) and 'enum'/'type' 'true'/'fals'; 'TEXT' and 'utf8' to each other;
// 'fss ', 'alis', 'fsrf' and 'furl' among each other; a list of one item to that item's
// type. Anything else, a null descriptor among it, fails with errAECoercionFail.
OSErr AECoerceDesc(const AEDesc* desc, DescType toType, AEDesc* result);
// Coerces raw data of `typeCode` (as AECoerceDesc does).
OSErr AECoercePtr(DescType typeCode, const void* dataPtr, Size dataSize, DescType toType, AEDesc* result);

// Lists and records. Indexes count from 1.
OSErr AECreateList(const void* factoringPtr, Size factoredSize, Boolean isRecord, AEDescList* resultList);
OSErr AECountItems(const AEDescList* list, long* count);
// index 0 or count + 1 appends.
OSErr AEPutPtr(AEDescList* list, long index, DescType typeCode, const void* dataPtr, Size dataSize);
OSErr AEPutDesc(AEDescList* list, long index, const AEDesc* desc);
OSErr AEGetNthPtr(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword, DescType* typeCode,
                  void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AEGetNthDesc(const AEDescList* list, long index, DescType desiredType, AEKeyword* keyword, AEDesc* result);
OSErr AEDeleteItem(AEDescList* list, long index);
OSErr AEPutKeyPtr(AERecord* record, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize);
OSErr AEPutKeyDesc(AERecord* record, AEKeyword keyword, const AEDesc* desc);
OSErr AEGetKeyPtr(const AERecord* record, AEKeyword keyword, DescType desiredType, DescType* typeCode, void* dataPtr,
                  Size maximumSize, Size* actualSize);
OSErr AEGetKeyDesc(const AERecord* record, AEKeyword keyword, DescType desiredType, AEDesc* result);

// Apple events: parameters and attributes.
OSErr AECreateAppleEvent(AEEventClass eventClass, AEEventID eventID, const AEAddressDesc* target, AEReturnID returnID,
                         AETransactionID transactionID, AppleEvent* result);
OSErr AEPutParamPtr(AppleEvent* event, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize);
OSErr AEPutParamDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
OSErr AEGetParamPtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                    void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AEGetParamDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result);
OSErr AEPutAttributePtr(AppleEvent* event, AEKeyword keyword, DescType typeCode, const void* dataPtr, Size dataSize);
OSErr AEPutAttributeDesc(AppleEvent* event, AEKeyword keyword, const AEDesc* desc);
// keyAddressAttr of a received event gives the sender: typeProcessSerialNumber data is the
// sender's entry in this process's table (see Processes.h).
OSErr AEGetAttributePtr(const AppleEvent* event, AEKeyword keyword, DescType desiredType, DescType* typeCode,
                        void* dataPtr, Size maximumSize, Size* actualSize);
OSErr AEGetAttributeDesc(const AppleEvent* event, AEKeyword keyword, DescType desiredType, AEDesc* result);

// Sends `event` to its keyAddressAttr. `reply` (when given) is set to a null descriptor.
// Failures: errAEUnknownSendMode for a mode that wants a reply, procNotFound for an
// address that names no process, connectionInvalid when the file manager's opener or the
// application cannot be started, errAEEventNotHandled for an event the target does not
// take.
OSErr AESend(const AppleEvent* event, AppleEvent* reply, AESendMode sendMode, AESendPriority sendPriority,
             SInt32 timeOutInTicks, void* idleProc, void* filterProc);

// Receiving: an event posted to this process's queue arrives as a kHighLevelEvent whose
// payload is the AppleEvent; it stays valid until the next high-level event is taken.
// Called by the event pump for each high-level event it takes.
const AppleEvent* AECurrentEventOf(const void* payload);
// Posts `event` (taken over: the caller's descriptor becomes null) to this process's queue.
OSErr AEPostToSelf(AppleEvent* event);
