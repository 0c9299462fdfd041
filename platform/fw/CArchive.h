// The framework's binary archive over a CFile: little-endian numbers, counts, wide
// strings, raw blocks and the framework's object format (class records, back-references),
// so that archives written by existing hosts load. Failures raise CArchiveException.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fw/CException.h"
#include "platform/fw/CFile.h"
#include "platform/fw/CObject.h"
#include "platform/fw/KivPtrIndexMap.h"

class CArchive {
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    /// Tags of the object format.
    static constexpr WORD wNullTag = 0x0000;
    static constexpr WORD wNewClassTag = 0xFFFF;
    static constexpr WORD wClassTag = 0x8000;
    static constexpr DWORD dwBigClassTag = 0x80000000u;
    static constexpr WORD wBigObjectTag = 0x7FFF;
    static constexpr DWORD nMaxMapCount = 0x3FFFFFFEu;
    /// A class name in an archive is shorter than this many characters.
    static constexpr UINT kMaxClassNameLength = 64;
    /// Objects nested inside objects (lists holding keyframes holding lists...) deeper
    /// than this are refused, so that hostile data cannot exhaust the stack.
    static constexpr int kMaxObjectDepth = 256;

    CArchive(CFile* file, UINT mode, int bufferSize = 4096, void* buffer = nullptr);
    /// Flushes a storing archive that was not closed (errors are swallowed here; call
    /// Close to see them).
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    /// Flushes (storing) and detaches from the file; a loading archive leaves the file just
    /// after what it read. Later use raises genericException; the archive is detached even
    /// when the flush fails.
    void Close();
    /// Writes buffered bytes to the file (storing); nothing when loading.
    void Flush();
    /// Detaches without flushing.
    void Abort();

    /// Reads exactly count bytes; raises endOfFile when fewer remain (nothing is consumed
    /// then). Returns count.
    UINT Read(void* buffer, UINT count);
    void Write(const void* buffer, UINT count);

    CArchive& operator<<(BYTE v) { PutLE<BYTE>(v); return *this; }
    CArchive& operator<<(WORD v) { PutLE<WORD>(v); return *this; }
    CArchive& operator<<(short v) { PutLE<WORD>(static_cast<WORD>(v)); return *this; }
    CArchive& operator<<(int v) { PutLE<DWORD>(static_cast<DWORD>(v)); return *this; }
    CArchive& operator<<(DWORD v) { PutLE<DWORD>(v); return *this; }
    CArchive& operator<<(LONGLONG v) { PutLE<ULONGLONG>(static_cast<ULONGLONG>(v)); return *this; }
    CArchive& operator<<(ULONGLONG v) { PutLE<ULONGLONG>(v); return *this; }
    CArchive& operator<<(float v) { PutLE<DWORD>(std::bit_cast<DWORD>(v)); return *this; }
    CArchive& operator<<(double v) { PutLE<ULONGLONG>(std::bit_cast<ULONGLONG>(v)); return *this; }
    CArchive& operator<<(char v) { PutLE<BYTE>(static_cast<BYTE>(v)); return *this; }
    CArchive& operator<<(signed char v) { PutLE<BYTE>(static_cast<BYTE>(v)); return *this; }
    CArchive& operator<<(wchar_t v) { PutLE<WORD>(static_cast<WORD>(v)); return *this; }

    CArchive& operator>>(BYTE& v) { v = GetLE<BYTE>(); return *this; }
    CArchive& operator>>(WORD& v) { v = GetLE<WORD>(); return *this; }
    CArchive& operator>>(short& v) { v = static_cast<short>(GetLE<WORD>()); return *this; }
    CArchive& operator>>(int& v) { v = static_cast<int>(GetLE<DWORD>()); return *this; }
    CArchive& operator>>(DWORD& v) { v = GetLE<DWORD>(); return *this; }
    CArchive& operator>>(LONGLONG& v) { v = static_cast<LONGLONG>(GetLE<ULONGLONG>()); return *this; }
    CArchive& operator>>(ULONGLONG& v) { v = GetLE<ULONGLONG>(); return *this; }
    CArchive& operator>>(float& v) { v = std::bit_cast<float>(GetLE<DWORD>()); return *this; }
    CArchive& operator>>(double& v) { v = std::bit_cast<double>(GetLE<ULONGLONG>()); return *this; }
    CArchive& operator>>(char& v) { v = static_cast<char>(GetLE<BYTE>()); return *this; }
    CArchive& operator>>(signed char& v) { v = static_cast<signed char>(GetLE<BYTE>()); return *this; }
    CArchive& operator>>(wchar_t& v) { v = static_cast<wchar_t>(GetLE<WORD>()); return *this; }

    /// 16-bit below 0xFFFF; else 0xFFFF and 32-bit below 0xFFFFFFFF; else 0xFFFFFFFF and 64-bit.
    void WriteCount(ULONGLONG count);
    ULONGLONG ReadCount();

    /// Writes null as 0x0000, a new class as 0xFFFF + schema + name, a known class as
    /// 0x8000|index, an object already written as its index alone (big-tag escape 0x7FFF
    /// for indices above 0x7FFE). Refuses what could not be loaded back: a class without a
    /// schema (CNotSupportedException), a class name of 64 characters or more (badClass),
    /// nesting deeper than kMaxObjectDepth (genericException).
    void WriteObject(const CObject* object);
    /// Reads what WriteObject wrote. Raises badSchema, badClass (unknown class, name of 64
    /// characters or more, not derived from requested), badIndex (index never given, or a
    /// class where an object is expected and the reverse, or an object whose loading
    /// failed), endOfFile, genericException (a new object nested deeper than
    /// kMaxObjectDepth). If the object's own Serialize fails, the object is destroyed, later
    /// references to it or to objects loaded inside it raise badIndex, and the exception
    /// passes on unchanged.
    CObject* ReadObject(const CRuntimeClass* requested);
    void WriteClass(const CRuntimeClass* cls);
    /// Reads a class record or reference; for an object tag returns null and sets *objectTag.
    CRuntimeClass* ReadClass(const CRuntimeClass* requested = nullptr, UINT* schema = nullptr, DWORD* objectTag = nullptr);

    // --- not the framework's: what loaders need to refuse hostile data early ---

    /// ReadObject for containers that take classes of more than one family: a class that
    /// accept refuses raises badClass (naming expected) before any object of it is created,
    /// so that nothing read inside such an object can be lost with it. accept must answer
    /// by the class alone: a run of objects of one class asks it once.
    CObject* ReadObjectOf(bool (*accept)(const CRuntimeClass* cls), const char* expected);
    /// Loading: true when the last ReadObject created its object (false for null and for
    /// a back-reference to an object read earlier). Owning containers refuse the latter.
    bool IsLastObjectNew() const { return m_bLastObjectNew; }
    /// Loading: bytes that can still be read (buffered plus the rest of the file).
    ULONGLONG GetBytesLeft() const;
    /// Byte offset from the start of this archive's data (for error messages).
    ULONGLONG GetOffset() const { return m_nBufStartOffset + static_cast<ULONGLONG>(m_pBufCur - m_pBufStart); }
    /// Raises endOfFile before anything is allocated when count items of at least
    /// bytesEach bytes cannot fit in what is left; what names the items in the message.
    /// Raises writeOnly on a storing archive.
    void CheckCount(ULONGLONG count, ULONGLONG bytesEach, const char* what) const;
    /// Room for count more objects in the map of objects written before (storing) or read
    /// before (loading, never more than the data left could hold), so that a long list does
    /// not grow it step by step. Only a hint: nothing happens when memory is short.
    void ReserveObjects(ULONGLONG count);
    /// Storing: a hint that object is written soon (the next element of a list), so that
    /// looking it up among the objects written before can start now. Changes nothing.
    void PrefetchObject(const CObject* object) const {
        if (object) m_storeMap.Prefetch(object);
    }
    /// Raises a CArchiveException of that cause naming this archive's file and offset.
    [[noreturn]] void ThrowError(int cause, const std::string& detail) const;
    /// Names what the caller reads or writes next (e.g. "CKivFXValueKeyFrm.Value") so that
    /// an end-of-file message can say it; the text must outlive its use; null clears it.
    void SetContext(const char* what) { m_pszContext = what; }
    const char* GetContext() const { return m_pszContext; }

    // --- for fixed-size records (the persistence engine): one bounds check per record ---

    /// Storing: the next count bytes of the buffer, consumed, for the caller to fill before
    /// any other call; null when the buffer has less room left, and the caller then writes
    /// value by value, so that the buffer is flushed exactly where it always is. Raises
    /// readOnly on a loading archive.
    BYTE* ReserveBuffered(size_t count) {
        if (!IsStoring()) ThrowWrongMode();
        if (static_cast<size_t>(m_pBufMax - m_pBufCur) < count) return nullptr;
        BYTE* p = m_pBufCur;
        m_pBufCur += count;
        return p;
    }
    /// Loading: the next count bytes when the buffer already holds them (nothing consumed);
    /// null otherwise, and the caller then reads value by value, so that refills and
    /// end-of-file errors come exactly where they always do. Raises writeOnly on a storing
    /// archive.
    const BYTE* PeekBuffered(size_t count) const {
        if (IsStoring()) ThrowWrongMode();
        return static_cast<size_t>(m_pBufMax - m_pBufCur) < count ? nullptr : m_pBufCur;
    }
    /// Loading: consumes count bytes of what PeekBuffered granted.
    void SkipBuffered(size_t count) { m_pBufCur += count; }

    CString m_strFileName;

private:
    // The cursor is copied into a local first: byte stores could alias the member, and the
    // compiler would otherwise reload it after each byte instead of merging them.
    template <class T>
    void PutLE(T v) {
        if (!IsStoring()) ThrowWrongMode();
        if (static_cast<size_t>(m_pBufMax - m_pBufCur) < sizeof(T)) FlushBuffer();
        BYTE* p = m_pBufCur;
        for (size_t i = 0; i < sizeof(T); ++i) p[i] = static_cast<BYTE>((static_cast<ULONGLONG>(v) >> (8 * i)) & 0xFF);
        m_pBufCur = p + sizeof(T);
    }
    template <class T>
    T GetLE() {
        if (IsStoring()) ThrowWrongMode();
        if (static_cast<size_t>(m_pBufMax - m_pBufCur) < sizeof(T)) FillBuffer(sizeof(T));
        const BYTE* p = m_pBufCur;
        ULONGLONG v = 0;
        for (size_t i = 0; i < sizeof(T); ++i) v |= static_cast<ULONGLONG>(p[i]) << (8 * i);
        m_pBufCur += sizeof(T);
        return static_cast<T>(v);
    }
    /// Storing: writes the buffer to the file (or commits what was written into the file's
    /// lent room and asks for more). Loading: nothing.
    void FlushBuffer();
    /// Storing into room the file lent: at least want bytes (want 0: the usual amount);
    /// false when the file has no such room.
    bool LendFromFile(size_t want);
    /// Storing into lent room: what was written becomes the file's; no room is left.
    void CommitLent();
    /// From now on the archive's own buffer of the size asked at construction.
    void UseOwnBuffer();
    /// Loading: makes at least need bytes available in the buffer or raises endOfFile.
    void FillBuffer(size_t need);
    [[noreturn]] void ThrowWrongMode() const;
    [[noreturn]] void ThrowErrorAt(ULONGLONG offset, int cause, const std::string& detail) const;
    /// Raises endOfFile for need bytes of what (or of the caller's context) with left remaining.
    [[noreturn]] void ThrowEndOfFile(ULONGLONG need, ULONGLONG left, const char* what) const;
    /// Writes a reference to a class or object already in the store map.
    void WriteIndexTag(DWORD index, bool isClass) {
        if (index < wBigObjectTag) {
            *this << static_cast<WORD>(isClass ? (wClassTag | index) : index);
        } else {
            *this << wBigObjectTag << (isClass ? (dwBigClassTag | index) : index);
        }
    }
    /// Enters a class (in map m_classMap) or an object (m_storeMap) and returns its index.
    DWORD MapStored(KivPtrIndexMap& map, const void* classOrObject) {
        if (m_nMapCount >= nMaxMapCount) ThrowTooMany();
        KivTranslateBadAlloc([&] { map.Insert(classOrObject, m_nMapCount); });
        return m_nMapCount++;
    }
    /// Raises badIndex: more classes and objects than an archive can number.
    [[noreturn]] void ThrowTooMany() const;
    /// ReadObject with the check of ReadObjectOf when accept is not null.
    CObject* ReadObjectChecked(const CRuntimeClass* requested, bool (*accept)(const CRuntimeClass*), const char* expected);
    /// ReadObjectChecked for any tag but a class read before: reads the tag, then goes on as
    /// ReadObjectAfterTag. Out of line, so that the common way keeps few registers.
    [[gnu::noinline]] CObject* ReadObjectTagged(const CRuntimeClass* requested, bool (*accept)(const CRuntimeClass*),
                                                const char* expected);
    /// The rest of ReadObjectChecked once the tag at tagOffset is read: cls (a new object of
    /// it follows) or objectTag (null, or a reference to an object read before).
    CObject* ReadObjectAfterTag(CRuntimeClass* cls, DWORD objectTag, ULONGLONG tagOffset, const CRuntimeClass* requested,
                                bool (*accept)(const CRuntimeClass*), const char* expected);
    /// Creates an object of cls, enters it in the load map and reads it with its Serialize.
    CObject* LoadNewObject(CRuntimeClass* cls);
    /// Reads a new-class record (after its 0xFFFF tag) and enters the class in the load array.
    CRuntimeClass* LoadClassRecord();
    /// The tag of most objects in a run of one class: a reference to a class read before,
    /// whole in the buffer, and (when requested is not null) the class last found derived
    /// from requested. Null, with nothing consumed, for any other tag: ReadClass reads it.
    CRuntimeClass* TakeKnownClassTag(const CRuntimeClass* requested) {
        if (m_pBufMax - m_pBufCur < static_cast<std::ptrdiff_t>(sizeof(WORD))) return nullptr;
        const WORD tag = static_cast<WORD>(m_pBufCur[0] | m_pBufCur[1] << 8);
        // The tag taken last stays good: class entries never change, and a class found
        // derived from requested stays so.
        CRuntimeClass* cls = tag == m_wLastTakenTag && requested == m_pLastTakenRequested ? m_pLastTakenClass : nullptr;
        if (!cls) {
            if (tag == wNewClassTag || !(tag & wClassTag)) return nullptr;
            const DWORD index = tag & ~static_cast<DWORD>(wClassTag);
            if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].IsClass()) return nullptr;
            cls = m_loadArray[index].AsClass();
            if (requested && !(cls == m_pLastClassRead && requested == m_pLastRequested)) return nullptr;
            m_wLastTakenTag = tag;
            m_pLastTakenRequested = requested;
            m_pLastTakenClass = cls;
        }
        m_pBufCur += sizeof(WORD);
        return cls;
    }
    /// Makes the archive unusable after Close or Abort; later calls raise genericException.
    void Detach();

    // A class or an object read, one word each (the map of a large load is walked as it
    // grows): the pointer, with bit 0 set for a class. Both are aligned, so bit 0 is free.
    class LoadEntry {
    public:
        static LoadEntry Class(CRuntimeClass* cls) { return LoadEntry(reinterpret_cast<std::uintptr_t>(cls) | 1u); }
        static LoadEntry Object(CObject* object) { return LoadEntry(reinterpret_cast<std::uintptr_t>(object)); }
        bool IsClass() const { return (m_bits & 1u) != 0; }
        CRuntimeClass* AsClass() const { return reinterpret_cast<CRuntimeClass*>(m_bits & ~std::uintptr_t{1}); }
        /// Null for index 0 and for objects whose loading failed.
        CObject* AsObject() const { return reinterpret_cast<CObject*>(m_bits); }

    private:
        explicit LoadEntry(std::uintptr_t bits) : m_bits(bits) {}
        std::uintptr_t m_bits;
    };
    static_assert(alignof(CRuntimeClass) > 1 && alignof(CObject) > 1);

    CFile* m_pFile;
    UINT m_nMode;
    std::vector<BYTE> m_buffer;  // empty when the caller lent a buffer
    size_t m_nBufSize = 0;
    BYTE* m_pBufStart = nullptr;
    BYTE* m_pBufCur = nullptr;
    BYTE* m_pBufMax = nullptr;
    ULONGLONG m_nBufStartOffset = 0;  // stream offset of m_pBufStart
    bool m_bClosed = false;
    bool m_bLentByFile = false;  // the buffer is the file's own memory (CFile::LendRemaining, LendRoom)
    size_t m_nOwnBufSize = 0;    // of m_buffer, when the archive uses its own
    int m_nDepth = 0;
    bool m_bLastObjectNew = false;
    // Written classes and objects -> index, kept apart: classes are few and lie elsewhere in
    // memory, so that objects alone keep rising addresses (see KivPtrIndexMap).
    KivPtrIndexMap m_classMap;
    KivPtrIndexMap m_storeMap;
    DWORD m_nMapCount = 1;
    // Objects mostly come in runs of one class: the class last written and its index, and
    // the class and requested base last found to match on load, spare a lookup each.
    const CRuntimeClass* m_pLastClassWritten = nullptr;
    DWORD m_nLastClassIndex = 0;
    const CRuntimeClass* m_pLastClassRead = nullptr;
    const CRuntimeClass* m_pLastRequested = nullptr;
    // The class tag TakeKnownClassTag took last, with the class it names and the base it was
    // found derived from (a null class: none yet).
    WORD m_wLastTakenTag = 0;
    const CRuntimeClass* m_pLastTakenRequested = nullptr;
    CRuntimeClass* m_pLastTakenClass = nullptr;
    // Likewise the class that a ReadObjectOf filter last accepted, and the filter.
    const CRuntimeClass* m_pLastAccepted = nullptr;
    bool (*m_pfnLastAccept)(const CRuntimeClass*) = nullptr;
    std::vector<LoadEntry> m_loadArray;
    const char* m_pszContext = nullptr;
};

CArchive& operator<<(CArchive& ar, const CString& s);
/// Accepts the wide form (0xFF 0xFFFE length units) and the narrow form (widened as Latin-1).
CArchive& operator>>(CArchive& ar, CString& s);
inline CArchive& operator<<(CArchive& ar, const CObject* object) { ar.WriteObject(object); return ar; }
inline CArchive& operator>>(CArchive& ar, CObject*& object) { object = ar.ReadObject(nullptr); return ar; }
