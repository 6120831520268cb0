// The class registry: four-character class ID -> the function that builds an object of
// that class from a layout stream, and the ID of its parent class. Registration is explicit
// (the application calls it at start-up); registering an ID again replaces the entry.
#pragma once

#include "framework/FrameworkTypes.h"

class LPane;
class LAttachment;
class LCommander;
class LStream;

// What a stream constructor made, seen through each base the layout loader places objects
// by: a pane goes into its superview, an attachment onto the object before it, any other
// commander under the current commander. At least one is set.
struct SReanimated {
  LPane* pane = nullptr;
  LAttachment* attachment = nullptr;
  LCommander* commander = nullptr;
};

typedef SReanimated (*ClassCreatorFunc)(LStream* stream);

class URegistrar {
 public:
  static void RegisterClass(ClassIDT classID, ClassCreatorFunc creator, ClassIDT parentID = 0);
  static bool IsRegistered(ClassIDT classID);
  // 0 when the class has no registered parent.
  static ClassIDT GetParentClass(ClassIDT classID);
  // True when `classID` is `baseID` or one of its registered ancestors is.
  static bool IsDerivedFrom(ClassIDT classID, ClassIDT baseID);
  // Builds an object; throws LException(err_UnknownClass) for an unregistered ID.
  static SReanimated CreateObject(ClassIDT classID, LStream* stream);
  static void UnregisterAll();
};

enum : ExceptionCode { err_UnknownClass = 'clas' };

// Four-character code as text ("'pane'") for messages.
void FourCharCodeText(FourCharCode code, char out[7]);
