#include "keyfrm/softfx/CKivInsDoubleThree.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Orders by position with NaN after every number, so that the sort always sees a strict
// weak order whatever a caller put in.
bool PosLess(const SKivInsDoubleKey& a, const SKivInsDoubleKey& b) {
    if (std::isnan(a.KeyPos)) return false;
    return std::isnan(b.KeyPos) || a.KeyPos < b.KeyPos;
}

bool SamePos(const SKivInsDoubleKey& a, const SKivInsDoubleKey& b) { return !PosLess(a, b) && !PosLess(b, a); }

}  // namespace

CKivInsDoubleThree::CKivInsDoubleThree(double minValue, double maxValue, int cubic)
    : m_minValue(minValue), m_maxValue(maxValue), m_cubic(cubic) {}

CKivInsDoubleThree::~CKivInsDoubleThree() { Clear(); }

int CKivInsDoubleThree::Allocate(UINT n) {
    if (n == 0) return 0;
    m_keys.reset(new (std::nothrow) SKivInsDoubleKey[n]());
    if (!m_keys) {
        Clear();
        return 0;
    }
    m_count = n;
    return 1;
}

void CKivInsDoubleThree::SetKey(UINT i, double pos, double value, double in, double out) {
    if (i >= m_count) return;
    m_keys[i] = {pos, value, in, out};
}

void CKivInsDoubleThree::Finish() {
    SKivInsDoubleKey* const first = m_keys.get();
    SKivInsDoubleKey* last = first + m_count;
    // A stable insertion sort, so that among keys at one position the first set keeps its
    // place; it needs no memory, and tables hold a key per keyframe, mostly in order already.
    for (SKivInsDoubleKey* k = first; k != last; ++k) std::rotate(std::upper_bound(first, k, *k, PosLess), k, k + 1);
    last = std::unique(first, last, SamePos);
    m_count = static_cast<UINT>(last - first);

    if (m_count > 1 && m_cubic == 1)
        for (UINT i = 0; i < m_count; ++i) {
            m_keys[i].KeyIn *= kTangentScale;
            m_keys[i].KeyOut *= kTangentScale;
        }
    m_segStart = 0.0;
    m_segEnd = -1.0;
}

void CKivInsDoubleThree::FindSegment(double x) {
    // Linear from the start: tables hold one key per keyframe, a handful.
    UINT i = 1;
    while (i < m_count - 1 && !(m_keys[i].KeyPos >= x)) ++i;
    const SKivInsDoubleKey& a = m_keys[i - 1];
    const SKivInsDoubleKey& b = m_keys[i];
    m_segStart = a.KeyPos;
    m_segEnd = b.KeyPos;
    m_segLength = m_segEnd - m_segStart;
    m_segValue0 = a.KeyValue;
    m_segValue1 = b.KeyValue;
    if (m_cubic) {
        m_segTangent0 = a.KeyOut;
        m_segTangent1 = b.KeyIn;
    } else {
        m_segSlope = (m_segValue1 - m_segValue0) / m_segLength;
    }
}

double CKivInsDoubleThree::GetValue(double x) {
    double val = 0.0;
    if (m_count == 0) {
        // nothing to interpolate: 0, clamped below
    } else if (std::isnan(x) || x <= m_keys[0].KeyPos) {
        val = m_keys[0].KeyValue;
    } else if (x >= m_keys[m_count - 1].KeyPos) {
        val = m_keys[m_count - 1].KeyValue;
    } else {
        if (!(x >= m_segStart && x <= m_segEnd)) FindSegment(x);
        // A key's own value at either end, so that a key reached from the segment before
        // it or after it (whichever the cache holds) gives the same bits.
        if (x == m_segStart) {
            val = m_segValue0;
        } else if (x == m_segEnd) {
            val = m_segValue1;
        } else if (m_cubic) {
            const double u = (x - m_segStart) / m_segLength;
            const double d = m_segValue1 - m_segValue0 - m_segTangent0;
            const double e = 3.0 * d - m_segTangent1 + m_segTangent0;
            val = m_segValue0 + (d - e) * u * u * u + e * u * u + m_segTangent0 * u;
        } else {
            val = m_segValue0 + (x - m_segStart) * m_segSlope;
        }
    }
    if (val < m_minValue) return m_minValue;
    if (val > m_maxValue) return m_maxValue;
    return val;
}

void CKivInsDoubleThree::Clear() {
    m_keys.reset();
    m_count = 0;
    m_cubic = 0;
    m_minValue = -kUnboundedRange;
    m_maxValue = kUnboundedRange;
}
