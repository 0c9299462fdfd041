#include "KfxObjectView.h"

#include "KfxCommands.h"

#include <typeinfo>

#include "kivbase/CKivColor32Array.h"
#include "kivbase/KivBlockParts.h"
#include "kivbase/persist/KivPersist.h"
#include "platform/fw/CArray.h"
#include "platform/fw/CObList.h"

namespace {

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
std::string Colour(const tagCOLOR32& c) { return KfxSpelled(c.ToDWORD()); }

// The lists classes store in their own form, by the member's type.
KfxValue OwnList(const KivFieldDef& f, const void* m) {
    const std::type_info& type = *f.custom->type;
    if (type == typeid(CArray<double>))
        return ListOf(*static_cast<const CArray<double>*>(m), KfxValue::Kind::real, [](double d) { return KfxSpelled(d); });
    if (type == typeid(CArray<tagCOLOR32>))
        return ListOf(*static_cast<const CArray<tagCOLOR32>*>(m), KfxValue::Kind::integer, Colour);
    if (type == typeid(CKivColor32Array))
        return ListOf(*static_cast<const CKivColor32Array*>(m), KfxValue::Kind::integer, Colour);
    return {};
}

KfxValue Block(const KivFieldDef& f, const CObject& object) {
    const std::span<const KivBlockPart> parts = KivBlockPartsOf(f);
    if (parts.empty()) return Of(KfxValue::Kind::bytes, KivFormatField(f, &object));
    BYTE image[kKivMaxBlockSize];
    f.packBlock(f.At(&object), image);
    KfxValue v;
    v.kind = KfxValue::Kind::parts;
    for (const KivBlockPart& p : parts) {
        const bool real = p.type == KivPartType::f32 || p.type == KivPartType::f64;
        v.parts.push_back({p.name, Of(real ? KfxValue::Kind::real : KfxValue::Kind::integer, KivFormatPart(p, image))});
    }
    return v;
}

KfxValue ValueOf(const KivFieldDef& f, const CObject& object) {
    switch (f.member) {
    case KivMember::i32:
    case KivMember::i16:
    case KivMember::u32:
    case KivMember::u8: return Of(KfxValue::Kind::integer, KivFormatField(f, &object));
    case KivMember::f32:
    case KivMember::f64: return Of(KfxValue::Kind::real, KivFormatField(f, &object));
    case KivMember::wstr: return Of(KfxValue::Kind::text, KivFormatField(f, &object));
    case KivMember::block: return Block(f, object);
    case KivMember::custom: return OwnList(f, f.At(&object));
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
