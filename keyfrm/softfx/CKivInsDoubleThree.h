// A one-dimensional interpolator over keys at frame positions: linear, or cubic Hermite
// with per-key tangents, clamped to a range. The slide keyframe's stream uses nine of them.
#pragma once

#include <memory>

#include "platform/fw/KivTypes.h"

/// One key: its frame position, its value and the tangents into and out of it.
struct SKivInsDoubleKey {
    double KeyPos;
    double KeyValue;
    double KeyIn;
    double KeyOut;
};

class CKivInsDoubleThree {
public:
    /// Cubic Hermite segments when cubic is 1, straight lines otherwise; no keys yet.
    CKivInsDoubleThree(double minValue, double maxValue, int cubic);
    virtual ~CKivInsDoubleThree();
    CKivInsDoubleThree(const CKivInsDoubleThree&) = delete;
    CKivInsDoubleThree& operator=(const CKivInsDoubleThree&) = delete;

    /// Makes room for n keys (all zero until SetKey). 0 for n = 0 or when memory runs out,
    /// after which the interpolator is cleared.
    int Allocate(UINT n);
    /// Writes key i; an index past the allocated keys is ignored.
    void SetKey(UINT i, double pos, double value, double in, double out);
    /// Sorts the keys by position, drops every key whose position repeats the one before
    /// (the first of equal keys in SetKey order stays), scales cubic tangents by
    /// kTangentScale when two or more keys remain, and forgets the cached segment.
    void Finish();
    /// The value at position x: the first key's value at or before the first key (and for
    /// NaN), the last key's at or after the last, else the segment's line or Hermite curve;
    /// then clamped to the range. 0 clamped to the range when there are no keys.
    double GetValue(double x);
    /// Releases the keys; the interpolator is then linear with the range +-kUnboundedRange.
    void Clear();

    /// The number of keys: as allocated until Finish, then without repeated positions.
    UINT GetCount() const { return m_count; }
    /// Key i after Finish (sorted, duplicates gone); i below GetCount().
    const SKivInsDoubleKey& GetKey(UINT i) const { return m_keys[i]; }
    /// The clamp range and the kind of segments.
    double GetMinValue() const { return m_minValue; }
    double GetMaxValue() const { return m_maxValue; }
    int IsCubic() const { return m_cubic; }

    /// Handles are given per unit of a keyframe's own scale; this brings them to the
    /// Hermite form's per-segment slope, as the slide effect has always scaled them.
    static constexpr double kTangentScale = 0.05;
    /// The range of a cleared interpolator: wide enough never to clamp a real value.
    static constexpr double kUnboundedRange = 100000000.0;

private:
    /// Caches the segment that holds x (strictly between the first and last key).
    void FindSegment(double x);

    UINT m_count = 0;
    std::unique_ptr<SKivInsDoubleKey[]> m_keys;
    double m_minValue;
    double m_maxValue;
    int m_cubic;

    // The last segment used, so that successive positions inside it skip the search.
    double m_segStart = 0.0;
    double m_segEnd = -1.0;  // below the start: no segment cached
    double m_segLength = 0.0;
    double m_segValue0 = 0.0;
    double m_segValue1 = 0.0;
    double m_segTangent0 = 0.0;
    double m_segTangent1 = 0.0;
    double m_segSlope = 0.0;
};
