// Sample objects of every registered persistable class, and the few helpers that treat
// keyframes, effect objects and lists (tracks) alike: what the fuzz targets' seeds and
// oracles and the reliability tests are built from. Classes added to the registration
// list are covered without new code.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kivbase/CKivObList.h"
#include "kivbase/KivXMLDOMDoc.h"
#include "kivbase/persist/KivFieldTable.h"

/// Every registered persistable class that is a CKivObject (keyframes, effect objects,
/// colour arrays), in registration order.
std::vector<const CRuntimeClass*> KivFuzzObjectClasses();
/// CKivObList and every registered class derived from it (the tracks).
std::vector<const CRuntimeClass*> KivFuzzListClasses();
/// KivFuzzObjectClasses then KivFuzzListClasses.
std::vector<const CRuntimeClass*> KivFuzzAllClasses();
/// The class of that name among KivFuzzAllClasses, or null.
const CRuntimeClass* KivFuzzFindClass(std::string_view name);

/// A new default object of the class; raises CMemoryException when it cannot be made.
std::unique_ptr<CObject> KivFuzzCreate(const CRuntimeClass* cls);
/// Sets one stored field to a value away from its default that the field's archive
/// encoding carries exactly (16-bit fields stay below 32768); salt makes values differ.
/// Lists stored in a class's own form get a few values. Fields of other kinds are left.
void KivFuzzSetDistinct(const KivFieldDef& field, CObject* object, int salt);
/// KivFuzzSetDistinct on every stored field of every level; returns how many were set.
int KivFuzzChangeEveryStoredField(CObject& object, int salt = 0);
/// A new object of the class with every stored field changed; a list also gets up to
/// kKivFuzzSampleKeyframes sample keyframes of kinds it accepts.
std::unique_ptr<CObject> KivFuzzSample(const CRuntimeClass* cls, int salt = 0);
/// Keyframes a sample list holds: enough for a first, a middle and a last element.
constexpr int kKivFuzzSampleKeyframes = 3;
/// True when a CKivObList may hold lists (tracks in a project); found by trying once.
bool KivFuzzListsHoldLists();
/// A project list holding one sample of every registered class (lists too when a list may
/// hold them).
std::unique_ptr<CKivObList> KivFuzzSampleProject();

/// 0 when both are of the same class with equal stored data (lists element by element).
int KivFuzzCompare(const CObject& a, const CObject& b);
/// The object's SerializeXML, whether it is a CKivObject or a CKivObList.
void KivFuzzSerializeXML(CObject& object, CKivXMLDOMDocObj* doc, IXMLDOMNode* node);

/// The object written with WriteObject (class record included) to a fresh archive.
std::vector<BYTE> KivFuzzStoreObject(const CObject* object);
/// What object.Serialize writes to a fresh archive (no class record).
std::vector<BYTE> KivFuzzStoreRecord(CObject& object);
/// Runs object.Serialize on an archive reading bytes; archive exceptions pass on.
void KivFuzzLoadRecord(CObject& object, const std::vector<BYTE>& bytes);
/// The object's XML under a root element "Root", as UTF-8 text.
std::string KivFuzzStoreXml(CObject& object);
