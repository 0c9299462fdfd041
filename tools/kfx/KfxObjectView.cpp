#include "KfxObjectView.h"

#include <charconv>
#include <typeinfo>

#include "kivbase/CKivColor32Array.h"
#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivMemberAccess.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CArray.h"
#include "platform/fw/CObList.h"

namespace {

template <class T>
std::string Spelled(T v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

KfxValue Of(KfxValue::Kind kind, std::string text) {
    KfxValue v;
    v.kind = kind;
    v.text = std::move(text);
    return v;
}

template <class T, class Spell>
KfxValue ListOf(const T& list, KfxValue::Kind kind, Spell spell) {
    KfxValue v;
    v.kind = KfxValue::Kind::list;
    v.items.reserve(static_cast<size_t>(list.GetSize()));
    for (INT_PTR i = 0; i < list.GetSize(); ++i) v.items.push_back(Of(kind, spell(list.GetAt(i))));
    return v;
}

// Colours as the XML format spells them: the packed value, unsigned.
std::string Colour(const tagCOLOR32& c) { return Spelled(c.ToDWORD()); }

// The lists classes store in their own form, by the member's type.
KfxValue OwnList(const KivFieldDef& f, const void* m) {
    const std::type_info& type = *f.custom->type;
    if (type == typeid(CArray<double>))
        return ListOf(*static_cast<const CArray<double>*>(m), KfxValue::Kind::real, [](double d) { return Spelled(d); });
    if (type == typeid(CArray<tagCOLOR32>))
        return ListOf(*static_cast<const CArray<tagCOLOR32>*>(m), KfxValue::Kind::integer, Colour);
    if (type == typeid(CKivColor32Array))
        return ListOf(*static_cast<const CKivColor32Array*>(m), KfxValue::Kind::integer, Colour);
    return {};
}

KfxValue Block(const KivFieldDef& f, const void* m) {
    BYTE image[kKivMaxBlockSize];
    f.packBlock(m, image);
    const std::span<const KivBlockPart> parts = KivBlockPartsOf(f);
    if (parts.empty()) {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string hex;
        for (UINT i = 0; i < f.blockSize; ++i) {
            if (i) hex += ' ';
            hex += kHex[image[i] >> 4];
            hex += kHex[image[i] & 15];
        }
        return Of(KfxValue::Kind::bytes, hex);
    }
    KfxValue v;
    v.kind = KfxValue::Kind::parts;
    for (const KivBlockPart& p : parts) {
        const bool real = p.type == KivPartType::f32 || p.type == KivPartType::f64;
        v.parts.emplace_back(p.name, Of(real ? KfxValue::Kind::real : KfxValue::Kind::integer, KivFormatPart(p, image)));
    }
    return v;
}

KfxValue ValueOf(const KivFieldDef& f, const CObject& object) {
    const void* m = f.At(&object);
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: return Of(KfxValue::Kind::integer, Spelled(KivGetInt(f, m)));
    case KivMember::f32: return Of(KfxValue::Kind::real, Spelled(*static_cast<const float*>(m)));
    case KivMember::f64: return Of(KfxValue::Kind::real, Spelled(*static_cast<const double*>(m)));
    case KivMember::wstr: return Of(KfxValue::Kind::text, static_cast<const CString*>(m)->ToUtf8());
    case KivMember::block: return Block(f, m);
    case KivMember::custom: return OwnList(f, m);
    }
    return {};
}

}  // namespace

std::unique_ptr<KfxObjectView> KfxViewOf(const CObject& object) {
    return KivTranslateBadAlloc([&] {
        auto view = std::make_unique<KfxObjectView>();
        const CRuntimeClass* cls = object.GetRuntimeClass();
        view->className = cls->m_lpszClassName;
        for (const KivClassLevel* level : KivLevelChain(cls))
            for (const KivFieldDef& f : level->fields)
                if (f.IsStored()) view->fields.emplace_back(f.name, ValueOf(f, object));
        if (object.IsKindOf(RUNTIME_CLASS(CObList))) {
            const auto& list = static_cast<const CObList&>(object);
            view->isList = true;
            for (POSITION pos = list.GetHeadPosition(); pos;) {
                const CObject* element = list.GetNext(pos);
                view->elements.push_back(element ? KfxViewOf(*element) : nullptr);
            }
        }
        return view;
    });
}
