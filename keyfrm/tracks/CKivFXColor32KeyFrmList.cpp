#include "keyfrm/tracks/CKivFXColor32KeyFrmList.h"

#include "keyfrm/tracks/KivFXTrackSampling.h"

namespace {

using Channels = KivFXChannels<CKivFXColor32KeyFrm>;
using Values = KivFXValues<CKivFXColor32KeyFrm>;

// The colour sampler's segment: samples s..e, the ends exactly the keyframes' colours, the
// others from the frame helper's line per channel, truncated.
class ColourSegment {
public:
    explicit ColourSegment(KivFXEvenSamples<CKivFXColor32KeyFrm>& out) : m_out(out) {}
    void Reserve(std::size_t n) { m_lines.Reserve(n); }
    void operator()(std::int64_t s, std::int64_t e, const CKivFXColor32KeyFrm& a, const CKivFXColor32KeyFrm& b) {
        const Values va = Channels::Of(a), vb = Channels::Of(b);
        m_lines.Draw(s, e, va, vb);
        for (std::int64_t i = s; i <= e; ++i) m_out.Put(i, i == s ? va : i == e ? vb : m_lines.At(i));
    }

private:
    KivFXEvenSamples<CKivFXColor32KeyFrm>& m_out;
    KivFXSegmentLines<CKivFXColor32KeyFrm> m_lines;
};

}  // namespace

KIV_IMPLEMENT_PERSIST_TRACK(CKivFXColor32KeyFrmList)

// The element carries the root keyframe's name: files written by earlier versions use it.
KIV_LEVEL(CKivFXColor32KeyFrmList, "CKivFXBaseKeyFrm", 0, 0,
          KivField<&Self::Transition>("Transition", KivEnc::i16, KivXml::flag, 1))

CKivFXColor32KeyFrmList::CKivFXColor32KeyFrmList() { KivDefaultLevel(this, Level()); }

tagCOLOR32 CKivFXColor32KeyFrmList::ValueAt(const KivFXBracket& bracket, double location) const {
    return Answer([&](bool bezier, const Values& def) { return KivFXEvaluate<CKivFXColor32KeyFrm>(bracket, location, bezier, def); });
}

int CKivFXColor32KeyFrmList::InsValue(double location, BYTE& red, BYTE& green, BYTE& blue, BYTE& alpha) const {
    const tagCOLOR32 c = ValueAt(m_keys.Find(*this, location), location);
    red = c.red, green = c.green, blue = c.blue, alpha = c.alpha;
    return 1;
}

int CKivFXColor32KeyFrmList::InsValue(double location, ULONG& colour) const {
    tagCOLOR32 c;
    InsValue(location, c.red, c.green, c.blue, c.alpha);
    colour = c.ToDWORD();
    return 1;
}

CKivFXColor32KeyFrm* CKivFXColor32KeyFrmList::SendKeyFrmValue(double location, ULONG colour) {
    return SetKeyFrm(location, [&](CKivFXColor32KeyFrm& k) { k.Color = colour; }, [](CKivFXColor32KeyFrm&) {});
}

CKivFXColor32KeyFrm* CKivFXColor32KeyFrmList::SendKeyFrmValue(double location, BYTE red, BYTE green, BYTE blue, BYTE alpha) {
    return SendKeyFrmValue(location, tagCOLOR32{blue, green, red, alpha}.ToDWORD());
}

CKivFXColor32KeyFrm* CKivFXColor32KeyFrmList::AddKeyFrm(double location) {
    if (!(location >= 0.0 && location <= 1.0)) return nullptr;
    BYTE r, g, b, a;
    InsValue(location, r, g, b, a);
    return SendKeyFrmValue(location, r, g, b, a);
}

int CKivFXColor32KeyFrmList::BuildInsLocation(CObList* out, ULONG n) {
    return KivFXBuildEvenSamples<CKivFXColor32KeyFrm>(out, n, [this] { return KeyFrames(); }, kWhite, true,
                                 [](auto& samples) { return ColourSegment(samples); });
}
