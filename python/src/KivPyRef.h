// How Python holds the library's objects: every object a script sees belongs to one root (a
// project, or an object made on its own), and a Python handle keeps that root alive, so no
// handle can outlive the object it names.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <pybind11/pybind11.h>

#include "kivbase/CKivObList.h"

namespace py = pybind11;

/// The owner of one tree of objects. Objects taken out of a list stay here until the root
/// goes, as scripts may still hold them; an object made on its own and then appended to a
/// list gives its ownership to that list's root and keeps that root alive instead.
struct KivPyRoot {
    std::unique_ptr<CObject> owned;                  // null once handed to another root's list
    std::shared_ptr<KivPyRoot> keeper;               // that root, once handed over
    std::vector<std::unique_ptr<CObject>> detached;  // removed from a list, still reachable

    /// The root that owns the tree in the end (following the hand-overs).
    KivPyRoot* Owner() {
        KivPyRoot* r = this;
        while (r->keeper) r = r->keeper.get();
        return r;
    }
};

/// A Python handle: the object and the root that keeps it alive.
struct KivPyRef {
    std::shared_ptr<KivPyRoot> root;
    CObject* object = nullptr;

    /// Takes the object out of the list it is in (by identity) and keeps it alive in the
    /// owning root; false when it is not an element of list.
    static bool Detach(const KivPyRef& list, const KivPyRef& element);
};
/// Python classes, one C++ type each (pybind11 maps types to classes one to one).
struct KivPyList : KivPyRef {};
struct KivPyProject : KivPyList {};
struct KivPyTrack : KivPyRef {
    /// value_at's evaluation view of the track (a CKivFXTrackView), made by its first call and
    /// touched only while the interpreter's lock is held; keyWrites is KivPyKeyWrites() then.
    mutable std::shared_ptr<void> view;
    mutable std::uint64_t keyWrites = 0;
};
struct KivPyScalarTrack : KivPyTrack {};
struct KivPyPositionTrack : KivPyTrack {};
struct KivPyColourTrack : KivPyTrack {};

/// How many fields of keyframes scripts have written so far. A view of a track rebuilds
/// itself when the track's own operations change it, but not when a keyframe's key (or,
/// in a Snapshot view, its value or a handle) is written directly, and a keyframe's handle does not know its track: so every view a
/// handle caches is made again once this count moved.
std::uint64_t KivPyKeyWrites();

/// A new root owning object (which must not be null).
std::shared_ptr<KivPyRoot> KivPyNewRoot(std::unique_ptr<CObject> object);
/// The Python handle of object inside root's tree, of the class that fits it (a track
/// class, List for other lists, Object otherwise); None for null. top makes a plain list a
/// Project.
py::object KivPyWrap(const std::shared_ptr<KivPyRoot>& root, CObject* object, bool top = false);
/// The object behind a Python handle, as a list; raises TypeError when it is none.
CObList& KivPyListOf(const KivPyRef& ref);

void KivPyBindErrors(py::module_& m);
void KivPyBindObjects(py::module_& m);
void KivPyBindFiles(py::module_& m);
void KivPyBindTracks(py::module_& m);
void KivPyBindMlt(py::module_& m);

/// Project.save: writes the file in the format its extension names, through kfx's safe write.
void KivPySave(const KivPyProject& project, const py::object& path);
/// Project.dumps: the bytes of the file in that format ("kfa" or "xml").
py::bytes KivPyDumps(const KivPyProject& project, const std::string& format);
