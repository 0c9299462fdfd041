// The bracketing rule of keyframe lists, one keyframe at a time: the list functions and the
// tracks feed it their keyframes in list order, so the rule is written only here.
#pragma once

/// The bounds the search starts from: a key at or beyond them is found by an exact hit but
/// never chosen as a neighbour. Frames and locations share the value.
inline constexpr int kKivFXKeyBound = 1073741823;

template <class Key>
inline constexpr Key kKivFXBound = static_cast<Key>(kKivFXKeyBound);

/// The first keyframe whose key equals the position ends the search; otherwise the nearest
/// key strictly below and strictly above within the bounds, the first in list order among
/// equal keys. A NaN key or position matches and brackets nothing. T is the keyframe type.
template <class Key, class T>
class KivFXBracketScan {
public:
    explicit KivFXBracketScan(Key pos) : m_pos(pos) {}
    /// Returns true when k sits exactly at the position (the search is over).
    bool Offer(T* k, Key key) {
        if (key == m_pos) {
            m_previous = k;
            m_next = nullptr;
            return true;
        }
        if (m_pos > key) {
            if (key > m_below) {
                m_previous = k;
                m_below = key;
            }
        } else if (key > m_pos && key < m_above) {
            m_next = k;
            m_above = key;
        }
        return false;
    }
    T* Previous() const { return m_previous; }
    T* Next() const { return m_next; }

private:
    Key m_pos;
    Key m_below = -kKivFXBound<Key>;
    Key m_above = kKivFXBound<Key>;
    T* m_previous = nullptr;
    T* m_next = nullptr;
};
