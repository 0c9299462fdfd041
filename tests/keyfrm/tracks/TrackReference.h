// The tracks' rules written out plainly, for tests to compare the library's fast paths and
// kfx's output against: bracketing by KivFXKeyFrmCalcRangeKF over a plain list holding the
// track's own keyframes, then the interpolation formulas as the track's contract states
// them. Nothing here calls the tracks' own evaluation.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

#include "keyfrm/core/KivFXKeyFrmList.h"
#include "keyfrm/tracks/KivFXTracks.h"
#include "kivbase/KivInterpolate.h"

namespace kfxref {

// A plain list borrowing the track's keyframes of class K (it never destroys them).
template <class K>
class Borrowed {
public:
    explicit Borrowed(const CObList& track) {
        for (POSITION p = track.GetHeadPosition(); p;) {
            CObject* o = track.GetNext(p);
            if (o && o->IsKindOf(K::GetThisClass())) {
                m_list.AddTail(o);
                m_keys.push_back(static_cast<K*>(o));
            }
        }
    }
    ~Borrowed() { m_list.RemoveAll(); }
    Borrowed(const Borrowed&) = delete;
    Borrowed& operator=(const Borrowed&) = delete;
    CKivObList* List() { return &m_list; }
    const std::vector<K*>& Keys() const { return m_keys; }

private:
    CKivObList m_list;
    std::vector<K*> m_keys;
};

inline float Clamp(float v, float min, float max) {
    const float m = v > max ? max : v;
    if (min > m) return min;
    return v > max ? max : v;
}

inline float BezierT(double a, double b, double x) {
    const auto e = static_cast<std::int64_t>(a * 1000 + 0.5);
    const auto n = static_cast<std::int64_t>(b * 1000 + 0.5);
    const auto xx = static_cast<std::int64_t>(x * 1000 + 0.5);
    return (1.0f / static_cast<float>(n - e + 1)) * static_cast<float>(xx - e);
}

inline float BezierT(int p, int n, int f) {
    std::int64_t P = p, N = n, F = f;
    if (static_cast<float>(std::llabs(N - P)) < 100.0f) P *= 100, N *= 100, F *= 100;
    return (1.0f / static_cast<float>(N - P + 1)) * static_cast<float>(F - P);
}

inline double KeyOf(const CKivFXInsValueKeyFrm* k, double) { return k->Location; }
inline int KeyOf(const CKivFXInsValueKeyFrm* k, int) { return k->Frame; }

// The keyframe pair around pos: {A, B}, {A, null} (a keyframe's own value), or neither.
template <class K, class Key>
std::array<const K*, 2> Bracket(Borrowed<K>& keys, Key pos) {
    if (keys.Keys().empty()) return {nullptr, nullptr};
    if (keys.Keys().size() == 1) return {keys.Keys()[0], nullptr};
    CKivFXBaseKeyFrm *prev = nullptr, *next = nullptr;
    KivFXKeyFrmCalcRangeKF(pos, keys.List(), &prev, &next);
    const K* a = static_cast<const K*>(prev);
    const K* b = static_cast<const K*>(next);
    if (a && b) return {a, b};
    return {a ? a : b, nullptr};
}

template <class Key>
float ScalarAt(const CKivFXInsKeyFrmList& track, Key pos) {
    Borrowed<CKivFXValueKeyFrm> keys(track);
    const auto [a, b] = Bracket(keys, pos);
    if (!a) return track.DefValue;
    if (!b) return a->Value;
    float v;
    if (track.InsMode == 0) {
        v = KivPublicInsValue(KeyOf(a, pos), KeyOf(b, pos), a->Value, b->Value, static_cast<double>(pos));
    } else {
        const float p[4] = {a->Value, a->Value + a->PtAfter.ValueOffset, b->Value + b->PtFore.ValueOffset, b->Value};
        v = KivPublicInsBezier3(p, BezierT(KeyOf(a, pos), KeyOf(b, pos), pos));
    }
    return Clamp(v, track.MinValue, track.MaxValue);
}

template <class Key>
std::array<float, 3> PathAt(const CKivFXPosiKeyFrmList& track, Key pos) {
    Borrowed<CKivFXPosiKeyFrm> keys(track);
    const auto [a, b] = Bracket(keys, pos);
    if (!a) return {track.DefX, track.DefY, track.DefZ};
    if (!b) return {a->PosiX, a->PosiY, a->PosiZ};
    const float av[3] = {a->PosiX, a->PosiY, a->PosiZ}, bv[3] = {b->PosiX, b->PosiY, b->PosiZ};
    const float ao[3] = {a->After.X, a->After.Y, a->After.Z}, bi[3] = {b->Fore.X, b->Fore.Y, b->Fore.Z};
    std::array<float, 3> out;
    for (int c = 0; c < 3; ++c) {
        if (track.InsMode == 0) {
            out[c] = KivPublicInsValue(KeyOf(a, pos), KeyOf(b, pos), av[c], bv[c], static_cast<double>(pos));
        } else {
            const float p[4] = {av[c], av[c] + ao[c], bv[c] + bi[c], bv[c]};
            out[c] = KivPublicInsBezier3(p, BezierT(KeyOf(a, pos), KeyOf(b, pos), pos));
        }
    }
    return out;
}

inline BYTE Channel(DWORD colour, int shift) { return static_cast<BYTE>(colour >> shift); }

// Packed colour (alpha, red, green, blue from the top byte down).
inline DWORD ColourAt(const CKivFXColor32KeyFrmList& track, double x) {
    Borrowed<CKivFXColor32KeyFrm> keys(track);
    const auto [a, b] = Bracket(keys, x);
    if (!a) return 0xFFFFFFFFu;
    if (!b) return a->Color;
    DWORD out = 0;
    for (int shift : {0, 8, 16, 24}) {
        const float v = KivPublicInsValue(a->Location, b->Location, float(Channel(a->Color, shift)), float(Channel(b->Color, shift)), x);
        out |= static_cast<DWORD>(static_cast<BYTE>(static_cast<int>(v))) << shift;
    }
    return out;
}

// The evenly spaced samplers' walk as the contract states it, over keyframes that map inside
// the samples: before the first keyframe, the segments between neighbours in list order
// (segment(s, e, A, B) fills s..e - 1, or s..e when closed), after the last.
template <class K, class T, class Segment>
std::vector<T> Even(const CObList& track, ULONG n, T def, T (*own)(const K&), bool closed, Segment segment) {
    Borrowed<K> keys(track);
    const auto& k = keys.Keys();
    if (k.empty()) return std::vector<T>(n, def);
    if (k.size() == 1 || n == 1) return std::vector<T>(n, own(*k[0]));
    std::vector<T> out(n, T{});
    const long long m = static_cast<long long>(n) - 1;
    auto idx = [&](const K* key) { return static_cast<long long>(key->Location * static_cast<double>(m) + 0.5); };
    if (k[0]->Location > 0.0)
        for (long long i = 0; i < idx(k[0]); ++i) out[i] = own(*k[0]);
    for (size_t j = 1; j < k.size(); ++j)
        if (idx(k[j]) >= idx(k[j - 1])) segment(out, idx(k[j - 1]), idx(k[j]), *k[j - 1], *k[j]);
    const K& last = *k.back();
    const long long from = closed ? (last.Location >= 1.0 || idx(&last) == m ? m + 1 : idx(&last) + 1)
                                  : (last.Location > 1.0 ? m + 1 : idx(&last));
    for (long long i = from; i <= m; ++i) out[i] = own(last);
    return out;
}

// The scalar track's samples: half-open segments, the first sample A's value, the others on
// the frame helper's line or the Bezier with t stepped in single precision, all clamped.
inline std::vector<float> ScalarEven(const CKivFXInsKeyFrmList& track, ULONG n) {
    auto own = +[](const CKivFXValueKeyFrm& k) { return k.Value; };
    return Even<CKivFXValueKeyFrm, float>(track, n, track.DefValue, own, false,
                                          [&](std::vector<float>& out, long long s, long long e, const CKivFXValueKeyFrm& a,
                                              const CKivFXValueKeyFrm& b) {
                                              std::vector<float> line(static_cast<size_t>(e - s + 1));
                                              KivPublicInsValue(static_cast<int>(s), static_cast<int>(e), a.Value, b.Value, line.data());
                                              const float p[4] = {a.Value, a.Value + a.PtAfter.ValueOffset, b.Value + b.PtFore.ValueOffset, b.Value};
                                              const float step = 1.0f / static_cast<float>(e - s + 1);
                                              float t = 0.0f;
                                              for (long long i = s; i < e; ++i) {
                                                  float v = a.Value;
                                                  if (i > s) {
                                                      t += step;
                                                      v = track.InsMode == 0 ? line[static_cast<size_t>(i - s)] : KivPublicInsBezier3(p, t);
                                                  }
                                                  out[i] = Clamp(v, track.MinValue, track.MaxValue);
                                              }
                                          });
}

// The colour track's samples (packed): closed segments, the ends exactly A's and B's colours,
// the others each channel on the frame helper's line, truncated.
inline std::vector<DWORD> ColourEven(const CKivFXColor32KeyFrmList& track, ULONG n) {
    auto own = +[](const CKivFXColor32KeyFrm& k) { return static_cast<DWORD>(k.Color); };
    return Even<CKivFXColor32KeyFrm, DWORD>(track, n, 0xFFFFFFFFu, own, true,
                                            [](std::vector<DWORD>& out, long long s, long long e, const CKivFXColor32KeyFrm& a,
                                               const CKivFXColor32KeyFrm& b) {
                                                for (long long i = s; i <= e; ++i) {
                                                    DWORD c = 0;
                                                    for (int shift : {0, 8, 16, 24}) {
                                                        std::vector<float> line(static_cast<size_t>(e - s + 1));
                                                        KivPublicInsValue(static_cast<int>(s), static_cast<int>(e), float(Channel(a.Color, shift)),
                                                                          float(Channel(b.Color, shift)), line.data());
                                                        c |= static_cast<DWORD>(static_cast<BYTE>(static_cast<int>(line[static_cast<size_t>(i - s)]))) << shift;
                                                    }
                                                    out[i] = i == s ? a.Color : i == e ? b.Color : c;
                                                }
                                            });
}

}  // namespace kfxref
