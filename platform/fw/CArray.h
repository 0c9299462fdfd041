// The framework's growable array holding its elements by value, with the framework's
// growth rule and archive form (the count, then each element). Failures raise the
// framework's exceptions; std::bad_alloc never leaves it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/fw/CArchive.h"

namespace KivArrayDetail {

/// How an element type goes into the archive.
enum class Kind {
    number,       // integers and enums as little-endian integers of their width, float, double
    wideChar,     // wchar_t as 16 bits, as on the framework's home system
    boolean,      // one byte, 0 or 1
    string,       // CString in the archive's string form
    raw,          // other trivially copyable types: their bytes as they are in memory
    unsupported   // pointers and types with owners: Serialize raises CNotSupportedException
};

template <class T>
constexpr Kind KindOf() {
    if constexpr (std::is_same_v<T, CString>) return Kind::string;
    else if constexpr (std::is_same_v<T, bool>) return Kind::boolean;
    else if constexpr (std::is_same_v<T, wchar_t>) return Kind::wideChar;
    else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) return Kind::number;
    else if constexpr (std::is_floating_point_v<T>) return Kind::unsupported;  // long double has no portable image
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>) return Kind::number;
    else if constexpr (std::is_pointer_v<T> || std::is_member_pointer_v<T>) return Kind::unsupported;
    else if constexpr (std::is_trivially_copyable_v<T>) return Kind::raw;
    else return Kind::unsupported;
}

/// Fewest bytes one element takes in the archive (for CArchive::CheckCount).
template <class T>
constexpr ULONGLONG StoredBytes() {
    constexpr Kind kind = KindOf<T>();
    if constexpr (kind == Kind::wideChar) return 2;
    else if constexpr (kind == Kind::boolean || kind == Kind::string) return 1;  // an empty narrow string is one byte
    else return sizeof(T);
}

template <size_t N> struct UnsignedOf;
template <> struct UnsignedOf<1> { using type = BYTE; };
template <> struct UnsignedOf<2> { using type = WORD; };
template <> struct UnsignedOf<4> { using type = DWORD; };
template <> struct UnsignedOf<8> { using type = ULONGLONG; };

template <class T>
void WriteElement(CArchive& ar, const T& v) {
    constexpr Kind kind = KindOf<T>();
    if constexpr (kind == Kind::boolean) ar << static_cast<BYTE>(v ? 1 : 0);
    else if constexpr (kind == Kind::wideChar || kind == Kind::string || std::is_floating_point_v<T>) ar << v;
    else if constexpr (std::is_enum_v<T>) ar << static_cast<typename UnsignedOf<sizeof(T)>::type>(static_cast<std::underlying_type_t<T>>(v));
    else ar << static_cast<typename UnsignedOf<sizeof(T)>::type>(v);
}

template <class T>
void ReadElement(CArchive& ar, T& v) {
    constexpr Kind kind = KindOf<T>();
    if constexpr (kind == Kind::boolean) {
        BYTE b;
        ar >> b;
        v = b != 0;
    } else if constexpr (kind == Kind::wideChar || kind == Kind::string || std::is_floating_point_v<T>) {
        ar >> v;
    } else {
        typename UnsignedOf<sizeof(T)>::type u;
        ar >> u;
        if constexpr (std::is_enum_v<T>) v = static_cast<T>(static_cast<std::underlying_type_t<T>>(u));
        else v = static_cast<T>(u);
    }
}

/// Largest block handed to one archive Read or Write (they take 32-bit counts).
constexpr size_t kMaxBlock = 0x40000000;

// Raw elements go in blocks of whole elements, so that a failure leaves every element
// either read completely or untouched.
template <class T>
void WriteRaw(CArchive& ar, const T* data, size_t count) {
    const size_t perBlock = std::max<size_t>(1, kMaxBlock / sizeof(T));
    for (size_t done = 0; done < count;) {
        const size_t n = std::min(perBlock, count - done);
        ar.Write(data + done, static_cast<UINT>(n * sizeof(T)));
        done += n;
    }
}

template <class T>
void ReadRaw(CArchive& ar, T* data, size_t count) {
    const size_t perBlock = std::max<size_t>(1, kMaxBlock / sizeof(T));
    for (size_t done = 0; done < count;) {
        const size_t n = std::min(perBlock, count - done);
        ar.Read(data + done, static_cast<UINT>(n * sizeof(T)));
        done += n;
    }
}

}  // namespace KivArrayDetail

/// Copying (constructor and assignment) does what Copy does; moving takes the storage.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    CArray() = default;
    ~CArray() override { Release(); }
    /// Raises CMemoryException when memory runs out.
    CArray(const CArray& other) : CObject() { Copy(other); }
    CArray& operator=(const CArray& other) {
        Copy(other);
        return *this;
    }
    CArray(CArray&& other) noexcept : CObject() { Swap(other); }
    CArray& operator=(CArray&& other) noexcept {
        CArray taken(std::move(other));
        Swap(taken);
        return *this;
    }

    INT_PTR GetSize() const { return m_nSize; }
    INT_PTR GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    INT_PTR GetUpperBound() const { return m_nSize - 1; }

    /// New elements are value-initialised and survivors kept; size 0 frees the storage.
    /// growBy >= 0 sets the grow step (0: the framework's rule). Raises
    /// CInvalidArgException for a negative size and CMemoryException (array unchanged).
    void SetSize(INT_PTR newSize, INT_PTR growBy = -1) {
        if (newSize < 0) AfxThrowInvalidArgException("CArray::SetSize to a negative size");
        KivTranslateBadAlloc([&] { Resize(newSize, growBy >= 0 ? growBy : m_nGrowBy); });
        if (growBy >= 0) m_nGrowBy = growBy;
    }
    /// Gives back unused capacity; raises CMemoryException (array unchanged).
    void FreeExtra() {
        if (m_nSize == m_nMaxSize) return;
        if (m_nSize == 0) return Release();
        KivTranslateBadAlloc([&] { Reallocate(m_nSize, m_nSize); });
    }
    void RemoveAll() { Release(); }

    /// Index out of range raises CInvalidArgException (also for ElementAt, SetAt, []).
    const TYPE& GetAt(INT_PTR index) const { return m_pData[CheckedIndex(index)]; }
    TYPE& ElementAt(INT_PTR index) { return m_pData[CheckedIndex(index)]; }
    const TYPE& operator[](INT_PTR index) const { return GetAt(index); }
    TYPE& operator[](INT_PTR index) { return ElementAt(index); }
    void SetAt(INT_PTR index, ARG_TYPE newElement) {
        TYPE& slot = ElementAt(index);
        KivTranslateBadAlloc([&] { slot = newElement; });
    }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    /// Sets the element, growing the array to reach it; raises as SetSize does.
    void SetAtGrow(INT_PTR index, ARG_TYPE newElement) {
        if (index < 0) AfxThrowInvalidArgException("CArray::SetAtGrow at a negative index");
        if (index < m_nSize) return SetAt(index, newElement);
        if (index == PTRDIFF_MAX) AfxThrowMemoryException();
        // Copied first: newElement may live in this array, which growing moves.
        TYPE value = KivTranslateBadAlloc([&] { return TYPE(newElement); });
        SetSize(index + 1);
        m_pData[index] = std::move(value);
    }
    /// Appends the element and returns its index; raises as SetSize does.
    INT_PTR Add(ARG_TYPE newElement) {
        const INT_PTR index = m_nSize;
        SetAtGrow(index, newElement);
        return index;
    }
    /// Appends copies of src's elements (src may be this array) and returns the index of
    /// the first; raises CMemoryException with the array unchanged.
    INT_PTR Append(const CArray& src) {
        const INT_PTR old = m_nSize;
        const INT_PTR n = src.m_nSize;
        if (n == 0) return old;
        if (n > PTRDIFF_MAX - old) AfxThrowMemoryException();
        SetSize(old + n);
        try {
            // When src is this array, its first n elements are still the originals.
            KivTranslateBadAlloc([&] { std::copy(src.m_pData, src.m_pData + n, m_pData + old); });
        } catch (...) {
            Resize(old, m_nGrowBy);
            throw;
        }
        return old;
    }
    /// Makes this array a copy of src; raises CMemoryException with the array unchanged.
    void Copy(const CArray& src) {
        if (this == &src) return;
        if (src.m_nSize == 0) return Release();
        KivTranslateBadAlloc([&] {
            TYPE* copy = Allocate(src.m_nSize);
            try {
                std::uninitialized_copy(src.m_pData, src.m_pData + src.m_nSize, copy);
            } catch (...) {
                Deallocate(copy, src.m_nSize);
                throw;
            }
            Release();
            m_pData = copy;
            m_nSize = m_nMaxSize = src.m_nSize;
        });
    }
    /// Inserts count copies at index (past the end grows the array); raises
    /// CInvalidArgException for a negative index or count, CMemoryException (unchanged).
    void InsertAt(INT_PTR index, ARG_TYPE newElement, INT_PTR count = 1) {
        if (index < 0 || count < 0) AfxThrowInvalidArgException("CArray::InsertAt with a negative index or count");
        if (count == 0) return;
        CArray inserted;
        inserted.SetSize(count);
        KivTranslateBadAlloc([&] { std::fill(inserted.m_pData, inserted.m_pData + count, newElement); });
        InsertMoved(index, inserted);
    }
    /// Inserts copies of another array's elements at index (it may be this array).
    void InsertAt(INT_PTR startIndex, CArray* newArray) {
        if (startIndex < 0 || !newArray) AfxThrowInvalidArgException("CArray::InsertAt with a negative index or a null array");
        if (newArray->IsEmpty()) return;
        CArray inserted(*newArray);
        InsertMoved(startIndex, inserted);
    }
    /// Removes count elements from index; a range outside the array raises CInvalidArgException.
    void RemoveAt(INT_PTR index, INT_PTR count = 1) {
        if (index < 0 || count < 0 || index > m_nSize - count)
            AfxThrowInvalidArgException("CArray::RemoveAt outside the array");
        std::move(m_pData + index + count, m_pData + m_nSize, m_pData + index);
        std::destroy(m_pData + m_nSize - count, m_pData + m_nSize);
        m_nSize -= count;
    }

    /// Storing: the count (WriteCount), then each element. Loading: a count that cannot fit
    /// in the data left raises endOfFile before anything is allocated; a failure part way
    /// leaves the array at the new size with the elements read so far.
    void Serialize(CArchive& ar) override {
        using namespace KivArrayDetail;
        CObject::Serialize(ar);
        constexpr Kind kind = KindOf<TYPE>();
        if constexpr (kind == Kind::unsupported) {
            throw CNotSupportedException("CArray: elements of this type cannot be archived");
        } else if (ar.IsStoring()) {
            ar.WriteCount(static_cast<ULONGLONG>(m_nSize));
            if constexpr (kind == Kind::raw) WriteRaw(ar, m_pData, static_cast<size_t>(m_nSize));
            else
                for (INT_PTR i = 0; i < m_nSize; ++i) WriteElement(ar, m_pData[i]);
        } else {
            const ULONGLONG count = ar.ReadCount();
            // Also bounds the count by the data's size, so it fits in an INT_PTR below.
            ar.CheckCount(count, StoredBytes<TYPE>(), "array elements");
            SetSize(static_cast<INT_PTR>(count));
            if constexpr (kind == Kind::raw) ReadRaw(ar, m_pData, static_cast<size_t>(m_nSize));
            else
                for (INT_PTR i = 0; i < m_nSize; ++i) ReadElement(ar, m_pData[i]);
        }
    }

protected:
    TYPE* m_pData = nullptr;
    INT_PTR m_nSize = 0;
    INT_PTR m_nMaxSize = 0;
    INT_PTR m_nGrowBy = -1;

private:
    /// The framework's grow step when none is set: an eighth of the size, within [4, 1024].
    static constexpr INT_PTR kMinGrowStep = 4;
    static constexpr INT_PTR kMaxGrowStep = 1024;
    static constexpr INT_PTR kGrowDivisor = 8;

    INT_PTR CheckedIndex(INT_PTR index) const {
        if (index < 0 || index >= m_nSize) AfxThrowInvalidArgException("CArray: index outside the array");
        return index;
    }

    static TYPE* Allocate(INT_PTR n) { return std::allocator<TYPE>().allocate(static_cast<size_t>(n)); }
    static void Deallocate(TYPE* p, INT_PTR n) {
        if (p) std::allocator<TYPE>().deallocate(p, static_cast<size_t>(n));
    }

    void Release() noexcept {
        std::destroy(m_pData, m_pData + m_nSize);
        Deallocate(m_pData, m_nMaxSize);
        m_pData = nullptr;
        m_nSize = m_nMaxSize = 0;
    }

    void Swap(CArray& other) noexcept {
        std::swap(m_pData, other.m_pData);
        std::swap(m_nSize, other.m_nSize);
        std::swap(m_nMaxSize, other.m_nMaxSize);
        std::swap(m_nGrowBy, other.m_nGrowBy);
    }

    // Strong guarantee: on any exception the array is as it was.
    void Resize(INT_PTR newSize, INT_PTR growBy) {
        if (newSize == 0) return Release();
        if (newSize <= m_nMaxSize) {
            if (newSize > m_nSize) std::uninitialized_value_construct(m_pData + m_nSize, m_pData + newSize);
            else std::destroy(m_pData + newSize, m_pData + m_nSize);
            m_nSize = newSize;
            return;
        }
        const INT_PTR step = growBy > 0 ? growBy : std::clamp(m_nSize / kGrowDivisor, kMinGrowStep, kMaxGrowStep);
        const INT_PTR grown = m_nMaxSize > PTRDIFF_MAX - step ? PTRDIFF_MAX : m_nMaxSize + step;
        Reallocate(std::max(newSize, grown), newSize);
    }

    // New storage of capacity newCap holding the first newSize elements (survivors moved,
    // or copied when moving could throw; new ones value-initialised).
    void Reallocate(INT_PTR newCap, INT_PTR newSize) {
        TYPE* fresh = Allocate(newCap);
        const INT_PTR keep = std::min(m_nSize, newSize);
        try {
            std::uninitialized_value_construct(fresh + keep, fresh + newSize);
        } catch (...) {
            Deallocate(fresh, newCap);
            throw;
        }
        try {
            if constexpr (std::is_nothrow_move_constructible_v<TYPE>)
                std::uninitialized_move(m_pData, m_pData + keep, fresh);
            else
                std::uninitialized_copy(m_pData, m_pData + keep, fresh);
        } catch (...) {
            std::destroy(fresh + keep, fresh + newSize);
            Deallocate(fresh, newCap);
            throw;
        }
        std::destroy(m_pData, m_pData + m_nSize);
        Deallocate(m_pData, m_nMaxSize);
        m_pData = fresh;
        m_nSize = newSize;
        m_nMaxSize = newCap;
    }

    // Moves the elements of inserted into place at index; only SetSize can fail, so for
    // types that move without throwing the array is unchanged on failure.
    void InsertMoved(INT_PTR index, CArray& inserted) {
        const INT_PTR count = inserted.m_nSize;
        const INT_PTR old = m_nSize;
        if (count > PTRDIFF_MAX - std::max(index, old)) AfxThrowMemoryException();
        if (index >= old) {
            SetSize(index + count);
        } else {
            SetSize(old + count);
            std::move_backward(m_pData + index, m_pData + old, m_pData + old + count);
        }
        std::move(inserted.m_pData, inserted.m_pData + count, m_pData + index);
    }
};
