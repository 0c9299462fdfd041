// kivfx.Object (any stored object, its fields as attributes), kivfx.List (a list of
// objects as a Python sequence) and kivfx.Project (a list that is a file's contents), with
// kivfx.classes() and kivfx.create().
#include <algorithm>
#include <string>

#include "KivPyFields.h"
#include "KivPyRef.h"
#include "keyfrm/KivFXKeyFrmStartup.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "platform/fw/CArchive.h"
#include "platform/fw/CFile.h"

namespace {

// Written and read only while the interpreter's lock is held.
std::uint64_t g_keyWrites = 0;

template <class Ref>
py::object Cast(const std::shared_ptr<KivPyRoot>& root, CObject* object) {
    Ref ref;
    ref.root = root;
    ref.object = object;
    return py::cast(std::move(ref));
}

// The object's stored form: what two objects compare by.
std::vector<BYTE> StoredBytes(const CObject* object) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    ar.WriteObject(object);
    ar.Close();
    const BYTE* p = file.GetBufferPtr();
    return std::vector<BYTE>(p, p + file.GetLength());
}

std::unique_ptr<CObject> CopyOf(const CObject& object) {
    if (!object.IsKindOf(RUNTIME_CLASS(CKivObList)) && !object.IsKindOf(RUNTIME_CLASS(CKivObject)))
        throw py::type_error("this object cannot be copied");
    return KivCopyElement(object);
}

std::vector<const CRuntimeClass*> Classes() {
    std::vector<const CRuntimeClass*> out{RUNTIME_CLASS(CKivObList)};
    for (const KivFXPersistClass& c : KivFXKeyFrmPersistClasses())
        if (std::find(out.begin(), out.end(), c.runtimeClass) == out.end()) out.push_back(c.runtimeClass);
    return out;
}

POSITION Find(const CObList& list, const CObject* element) {
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        const POSITION at = pos;
        if (list.GetNext(pos) == element) return at;
    }
    return nullptr;
}

CObject* At(const KivPyRef& ref, Py_ssize_t index) {
    CObList& list = KivPyListOf(ref);
    const Py_ssize_t n = static_cast<Py_ssize_t>(list.GetCount());
    if (index < 0) index += n;
    if (index < 0 || index >= n) throw py::index_error("list index out of range");
    POSITION pos = list.GetHeadPosition();
    for (Py_ssize_t i = 0; i < index; ++i) list.GetNext(pos);
    return list.GetAt(pos);
}

py::list Elements(const KivPyRef& ref) {
    CObList& list = KivPyListOf(ref);
    py::list out;
    for (POSITION pos = list.GetHeadPosition(); pos;) out.append(KivPyWrap(ref.root, list.GetNext(pos)));
    return out;
}

// Appends an object made on its own (its handle's root gives up the object and keeps the
// list's root alive instead); an object already in a tree would have two owners.
void Append(const KivPyRef& list, KivPyRef& element) {
    CObList& target = KivPyListOf(list);
    KivPyRoot& source = *element.root;
    if (source.owned.get() != element.object || source.keeper)
        throw py::value_error("the object already belongs to a list; append copy.copy(obj)");
    if (list.root->Owner() == &source) throw py::value_error("a list cannot hold itself");
    target.AddTail(element.object);
    source.owned.release();
    source.keeper = list.root;
}

void BindObject(py::module_& m) {
    py::class_<KivPyRef>(m, "Object", R"(A stored object of the library.

Every stored field is an attribute named as the file stores it ("Location", "PtFore"):
int, float or str by its encoding, a named tuple for a block with named parts, bytes for
other blocks, a list for list fields. Assigning a value the field cannot hold raises
TypeError or OverflowError and leaves the field as it was.)")
        .def_property_readonly("class_name", [](const KivPyRef& r) { return std::string(r.object->GetRuntimeClass()->m_lpszClassName); },
                               "The object's class as files name it.")
        .def("fields", [](const KivPyRef& r) { return KivPyFieldDict(*r.object); }, "Every stored field by name, root class first.")
        .def("__getattr__", [](const KivPyRef& r, const std::string& name) {
            const KivFieldDef* f = KivPyFindField(*r.object, name);
            if (!f) throw py::attribute_error(std::string(r.object->GetRuntimeClass()->m_lpszClassName) + " has no field '" + name + "'");
            return KivPyGetField(*f, *r.object);
        }, "A stored field's value; AttributeError when the class stores no field of that name.")
        .def("__setattr__", [](py::object self, const std::string& name, py::object value) {
            const KivPyRef& r = self.cast<const KivPyRef&>();
            if (const KivFieldDef* f = KivPyFindField(*r.object, name)) {
                KivPySetField(*f, *r.object, value);
                if (r.object->IsKindOf(RUNTIME_CLASS(CKivFXInsValueKeyFrm))) ++g_keyWrites;
                return;
            }
            py::module_::import("builtins").attr("object").attr("__setattr__")(self, name, value);
        }, "Stores a field's value; TypeError or OverflowError for a value it cannot hold.")
        .def("__dir__", [](py::object self) {
            py::list names = py::module_::import("builtins").attr("object").attr("__dir__")(self);
            for (auto item : KivPyFieldDict(*self.cast<const KivPyRef&>().object)) names.append(item.first);
            return names;
        }, "The attributes, stored fields included.")
        .def("__copy__", [](const KivPyRef& r) { return KivPyWrap(KivPyNewRoot(CopyOf(*r.object)), nullptr, true); },
             "A copy made as the library copies (MakeCopy), owned by no list.")
        .def("__deepcopy__", [](const KivPyRef& r, py::object) { return KivPyWrap(KivPyNewRoot(CopyOf(*r.object)), nullptr, true); },
             "The same as __copy__: a copy is always whole.")
        .def("__eq__", [](const KivPyRef& a, py::object other) -> py::object {
            if (!py::isinstance<KivPyRef>(other)) return py::reinterpret_borrow<py::object>(Py_NotImplemented);
            const KivPyRef& b = other.cast<const KivPyRef&>();
            return py::bool_(a.object == b.object || StoredBytes(a.object) == StoredBytes(b.object));
        }, "True when both store the same bytes (class and every stored field, lists element by element).")
        .attr("__hash__") = py::none();
    m.attr("Object").attr("__repr__") = py::cpp_function(
        [](const KivPyRef& r) { return "<kivfx." + std::string(py::str(py::cast(r).get_type().attr("__name__"))) + " " + r.object->GetRuntimeClass()->m_lpszClassName + ">"; },
        py::is_method(m.attr("Object")));
}

void BindLists(py::module_& m) {
    py::class_<KivPyList, KivPyRef>(m, "List", "A list of stored objects: len, indexing (negative too), iteration, index and in.")
        .def("__len__", [](const KivPyList& r) { return KivPyListOf(r).GetCount(); })
        .def("__getitem__", [](const KivPyList& r, Py_ssize_t i) { return KivPyWrap(r.root, At(r, i)); })
        .def("__iter__", [](const KivPyList& r) { return py::iter(Elements(r)); })
        .def("__contains__", [](const KivPyList& r, const KivPyRef& e) { return Find(KivPyListOf(r), e.object) != nullptr; })
        .def("index", [](const KivPyList& r, const KivPyRef& e) {
            const CObList& list = KivPyListOf(r);
            Py_ssize_t i = 0;
            for (POSITION pos = list.GetHeadPosition(); pos; ++i)
                if (list.GetNext(pos) == e.object) return i;
            throw py::value_error("the object is not in the list");
        }, "The position of that very object (not an equal one); ValueError when absent.");

    py::class_<KivPyProject, KivPyList>(m, "Project", R"(A project: the list of objects a .kfa or .xml file holds.

kivfx.Project() makes an empty one; kivfx.load and kivfx.loads read one.)")
        .def(py::init([] {
            KivPyProject p;
            p.root = KivPyNewRoot(std::make_unique<CKivObList>());
            p.object = p.root->owned.get();
            return p;
        }), "An empty project.")
        .def("append", [](const KivPyProject& p, KivPyRef& obj) { Append(p, obj); }, py::arg("obj"),
             "Appends an object made on its own (kivfx.create, copy.copy, a track's constructor); ValueError for an object already in a list.")
        .def("remove", [](const KivPyProject& p, const KivPyRef& obj) {
            if (!KivPyRef::Detach(p, obj)) throw py::value_error("the object is not in the list");
        }, py::arg("obj"), "Takes that very object out of the list; ValueError when absent. Handles to it stay usable.")
        .def("save", &KivPySave, py::arg("path"), R"(Writes the project to path in the format its extension names (.kfa or .xml), through
the same safe write as kfx edit. Raises an OSError subclass when the file cannot be written,
FormatError for another extension.)")
        .def("dumps", &KivPyDumps, py::arg("format"), "The bytes of the project as a file in that format (\"kfa\" or \"xml\").");
}

}  // namespace

std::uint64_t KivPyKeyWrites() { return g_keyWrites; }

std::shared_ptr<KivPyRoot> KivPyNewRoot(std::unique_ptr<CObject> object) {
    auto root = std::make_shared<KivPyRoot>();
    root->owned = std::move(object);
    return root;
}

py::object KivPyWrap(const std::shared_ptr<KivPyRoot>& root, CObject* object, bool top) {
    if (!object && top) object = root->owned.get();
    if (!object) return py::none();
    if (object->IsKindOf(RUNTIME_CLASS(CKivFXInsKeyFrmList))) return Cast<KivPyScalarTrack>(root, object);
    if (object->IsKindOf(RUNTIME_CLASS(CKivFXPosiKeyFrmList))) return Cast<KivPyPositionTrack>(root, object);
    if (object->IsKindOf(RUNTIME_CLASS(CKivFXColor32KeyFrmList))) return Cast<KivPyColourTrack>(root, object);
    if (object->IsKindOf(RUNTIME_CLASS(CKivObList))) return Cast<KivPyProject>(root, object);
    if (object->IsKindOf(RUNTIME_CLASS(CObList))) return Cast<KivPyList>(root, object);
    return Cast<KivPyRef>(root, object);
}

CObList& KivPyListOf(const KivPyRef& ref) {
    if (!ref.object->IsKindOf(RUNTIME_CLASS(CObList))) throw py::type_error("not a list");
    return *static_cast<CObList*>(ref.object);
}

bool KivPyRef::Detach(const KivPyRef& list, const KivPyRef& element) {
    CObList& l = KivPyListOf(list);
    const POSITION pos = Find(l, element.object);
    if (!pos) return false;
    auto& detached = list.root->Owner()->detached;
    detached.reserve(detached.size() + 1);  // so that nothing can fail once it is out
    l.RemoveAt(pos);
    detached.emplace_back(element.object);
    return true;
}

void KivPyBindObjects(py::module_& m) {
    BindObject(m);
    BindLists(m);
    m.def("classes", [] {
        py::list names;
        for (const CRuntimeClass* c : Classes()) names.append(c->m_lpszClassName);
        return names;
    }, "The names of every class a project may store.");
    m.def("create", [](const std::string& name) {
        for (const CRuntimeClass* c : Classes())
            if (name == c->m_lpszClassName) {
                std::unique_ptr<CObject> object(c->CreateObject());
                if (!object) throw CMemoryException();
                return KivPyWrap(KivPyNewRoot(std::move(object)), nullptr, true);
            }
        throw py::value_error("unknown class '" + name + "' (see kivfx.classes())");
    }, py::arg("name"), "A new object of that class with its defaults; ValueError for a name kivfx.classes() does not list.");
}
