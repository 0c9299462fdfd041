#include "KivPyFields.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <typeinfo>
#include <vector>

#include "kivbase/CKivColor32Array.h"
#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CArray.h"

namespace {

struct IntRange {
    std::int64_t min, max;
};

IntRange Intersect(IntRange a, IntRange b) { return {std::max(a.min, b.min), std::min(a.max, b.max)}; }

constexpr IntRange kInt32{INT32_MIN, INT32_MAX};
constexpr IntRange kUInt32{0, UINT32_MAX};

// What the member holds and, narrower still, what both formats keep of it: a value outside
// would come back from a file as another number.
IntRange RangeOf(const KivFieldDef& f) {
    IntRange r = kInt32;
    switch (f.member) {
    case KivMember::i16: r = {INT16_MIN, INT16_MAX}; break;
    case KivMember::u32: r = kUInt32; break;
    case KivMember::u8: r = {0, UINT8_MAX}; break;
    default: break;
    }
    if (f.enc == KivEnc::i16) r = Intersect(r, {INT16_MIN, INT16_MAX});
    if (f.enc == KivEnc::u16) r = Intersect(r, {0, UINT16_MAX});
    if (f.xml == KivXml::i16) r = Intersect(r, {INT16_MIN, INT16_MAX});
    return r;
}

[[noreturn]] void Overflow(const char* name, IntRange r) {
    PyErr_Format(PyExc_OverflowError, "%s holds %lld to %lld", name, static_cast<long long>(r.min), static_cast<long long>(r.max));
    throw py::error_already_set();
}

std::string TypeName(py::handle v) { return py::str(v.get_type().attr("__name__")); }

std::int64_t CheckedInt(py::handle v, IntRange r, const char* name) {
    if (!PyLong_Check(v.ptr())) throw py::type_error(std::string(name) + " takes an int, not " + TypeName(v));
    int overflow = 0;
    const long long n = PyLong_AsLongLongAndOverflow(v.ptr(), &overflow);
    if (overflow != 0 || n < r.min || n > r.max) Overflow(name, r);
    return n;
}

double CheckedReal(py::handle v, bool single, const char* name) {
    if (!PyFloat_Check(v.ptr()) && !PyLong_Check(v.ptr()))
        throw py::type_error(std::string(name) + " takes a float, not " + TypeName(v));
    const double d = PyFloat_AsDouble(v.ptr());
    if (d == -1.0 && PyErr_Occurred()) throw py::error_already_set();
    if (single && std::isfinite(d) && std::fabs(d) > FLT_MAX) {
        PyErr_Format(PyExc_OverflowError, "%s is a float of 32 bits and cannot hold %R", name, v.ptr());
        throw py::error_already_set();
    }
    return d;
}

// ---- blocks: named parts as a named tuple, other blocks as their stored bytes ----

py::object TupleTypeOf(const KivFieldDef& f, std::span<const KivBlockPart> parts) {
    // One named-tuple type per field name, made on first use and kept in the module.
    py::module_ module = py::module_::import("kivfx._kivfx");
    py::dict types = module.attr("_block_types");
    py::str key(f.name);
    if (types.contains(key)) return types[key];
    py::list names;
    for (const KivBlockPart& p : parts) names.append(p.name);
    py::object type = py::module_::import("collections").attr("namedtuple")(f.name, names, py::arg("module") = "kivfx");
    types[key] = type;
    return type;
}

template <class T>
T Part(const BYTE* image) {
    T v;
    std::memcpy(&v, image, sizeof v);  // the images are little-endian, as is every host we build for
    return v;
}

py::object PartValue(const KivBlockPart& p, const BYTE* image) {
    switch (p.type) {
    case KivPartType::i32: return py::int_(Part<std::int32_t>(image + p.offset));
    case KivPartType::u32: return py::int_(Part<std::uint32_t>(image + p.offset));
    case KivPartType::f32: return py::float_(Part<float>(image + p.offset));
    case KivPartType::f64: return py::float_(Part<double>(image + p.offset));
    }
    return py::none();
}

void PutPart(const KivBlockPart& p, BYTE* image, py::handle v) {
    auto put = [&](auto x) { std::memcpy(image + p.offset, &x, sizeof x); };
    switch (p.type) {
    case KivPartType::i32: put(static_cast<std::int32_t>(CheckedInt(v, kInt32, p.name))); break;
    case KivPartType::u32: put(static_cast<std::uint32_t>(CheckedInt(v, kUInt32, p.name))); break;
    case KivPartType::f32: put(static_cast<float>(CheckedReal(v, true, p.name))); break;
    case KivPartType::f64: put(CheckedReal(v, false, p.name)); break;
    }
}

py::object GetBlock(const KivFieldDef& f, const CObject& o) {
    BYTE image[kKivMaxBlockSize];
    f.packBlock(f.At(&o), image);
    const std::span<const KivBlockPart> parts = KivBlockPartsOf(f);
    if (parts.empty()) return py::bytes(reinterpret_cast<const char*>(image), f.blockSize);
    py::tuple values(parts.size());
    for (size_t i = 0; i < parts.size(); ++i) values[i] = PartValue(parts[i], image);
    return TupleTypeOf(f, parts)(*values);
}

void SetBlock(const KivFieldDef& f, CObject& o, py::handle v) {
    BYTE image[kKivMaxBlockSize];
    f.packBlock(f.At(&o), image);
    const std::span<const KivBlockPart> parts = KivBlockPartsOf(f);
    if (parts.empty()) {
        if (!PyBytes_Check(v.ptr()) || static_cast<size_t>(PyBytes_Size(v.ptr())) != f.blockSize)
            throw py::type_error(std::string(f.name) + " takes bytes of length " + std::to_string(f.blockSize));
        std::memcpy(image, PyBytes_AsString(v.ptr()), f.blockSize);
    } else {
        if (!PySequence_Check(v.ptr()) || PyUnicode_Check(v.ptr()) || static_cast<size_t>(py::len(v)) != parts.size())
            throw py::type_error(std::string(f.name) + " takes a sequence of " + std::to_string(parts.size()) + " numbers");
        py::sequence seq = py::reinterpret_borrow<py::sequence>(v);
        for (size_t i = 0; i < parts.size(); ++i) PutPart(parts[i], image, seq[i]);
    }
    f.unpackBlock(image, f.At(&o));
}

// ---- lists kept in the class's own form ----

template <class Array, class Get>
py::list ListOf(const Array& a, Get get) {
    py::list out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i) out.append(get(a.GetAt(i)));
    return out;
}

// Every value is checked before the list changes.
template <class T, class Take>
std::vector<T> ValuesOf(const KivFieldDef& f, py::handle v, Take take) {
    if (!PySequence_Check(v.ptr()) || PyUnicode_Check(v.ptr()) || PyBytes_Check(v.ptr()))
        throw py::type_error(std::string(f.name) + " takes a list");
    std::vector<T> out;
    for (py::handle item : v) out.push_back(take(item));
    return out;
}

py::object GetList(const KivFieldDef& f, const CObject& o) {
    const void* m = f.At(&o);
    const std::type_info& type = *f.custom->type;
    auto colour = [](const tagCOLOR32& c) { return py::int_(c.ToDWORD()); };
    if (type == typeid(CArray<double>)) return ListOf(*static_cast<const CArray<double>*>(m), [](double d) { return py::float_(d); });
    if (type == typeid(CArray<tagCOLOR32>)) return ListOf(*static_cast<const CArray<tagCOLOR32>*>(m), colour);
    if (type == typeid(CKivColor32Array)) return ListOf(*static_cast<const CKivColor32Array*>(m), colour);
    throw py::type_error(std::string(f.name) + " is stored in a form Python cannot show");
}

void SetList(const KivFieldDef& f, CObject& o, py::handle v) {
    void* m = f.At(&o);
    const std::type_info& type = *f.custom->type;
    auto colour = [&](py::handle x) { return tagCOLOR32::FromDWORD(static_cast<DWORD>(CheckedInt(x, kUInt32, f.name))); };
    if (type == typeid(CArray<double>)) {
        const std::vector<double> values = ValuesOf<double>(f, v, [&](py::handle x) { return CheckedReal(x, false, f.name); });
        auto& a = *static_cast<CArray<double>*>(m);
        a.SetSize(static_cast<INT_PTR>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) a[static_cast<INT_PTR>(i)] = values[i];
    } else if (type == typeid(CArray<tagCOLOR32>)) {
        const std::vector<tagCOLOR32> values = ValuesOf<tagCOLOR32>(f, v, colour);
        auto& a = *static_cast<CArray<tagCOLOR32>*>(m);
        a.SetSize(static_cast<INT_PTR>(values.size()));
        for (size_t i = 0; i < values.size(); ++i) a[static_cast<INT_PTR>(i)] = values[i];
    } else if (type == typeid(CKivColor32Array)) {
        const std::vector<tagCOLOR32> values = ValuesOf<tagCOLOR32>(f, v, colour);
        auto& a = *static_cast<CKivColor32Array*>(m);
        a.DeleteAll();
        for (const tagCOLOR32& c : values) a.Add(&c, 1);
    } else {
        throw py::type_error(std::string(f.name) + " is stored in a form Python cannot set");
    }
}

}  // namespace

const KivFieldDef* KivPyFindField(const CObject& object, std::string_view name) {
    for (const KivClassLevel* level : KivLevelChain(object.GetRuntimeClass()))
        for (const KivFieldDef& f : level->fields)
            if (f.IsStored() && name == f.name) return &f;
    return nullptr;
}

py::object KivPyGetField(const KivFieldDef& f, const CObject& o) {
    const void* m = f.At(&o);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: return py::int_(KivGetInt(f, m));
    case KivMember::f32: return py::float_(KivGetFloat(f, m));
    case KivMember::f64: return py::float_(KivGetReal(f, m));
    case KivMember::wstr: return py::str(static_cast<const CString*>(m)->ToUtf8());
    case KivMember::block: return GetBlock(f, o);
    case KivMember::custom: return GetList(f, o);
    }
    return py::none();
}

void KivPySetField(const KivFieldDef& f, CObject& o, py::handle v) {
    void* m = f.At(&o);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: KivSetInt(f, m, CheckedInt(v, RangeOf(f), f.name)); return;
    case KivMember::f32: KivSetFloat(f, m, static_cast<float>(CheckedReal(v, true, f.name))); return;
    case KivMember::f64: KivSetReal(f, m, CheckedReal(v, false, f.name)); return;
    case KivMember::wstr:
        if (!PyUnicode_Check(v.ptr())) throw py::type_error(std::string(f.name) + " takes a str");
        *static_cast<CString*>(m) = CString::FromUtf8(v.cast<std::string>());
        return;
    case KivMember::block: SetBlock(f, o, v); return;
    case KivMember::custom: SetList(f, o, v); return;
    }
}

py::dict KivPyFieldDict(const CObject& object) {
    py::dict out;
    for (const KivClassLevel* level : KivLevelChain(object.GetRuntimeClass()))
        for (const KivFieldDef& f : level->fields)
            if (f.IsStored()) out[f.name] = KivPyGetField(f, object);
    return out;
}
