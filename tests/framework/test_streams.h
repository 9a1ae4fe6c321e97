// Stream helpers for the persistence tests: byte builders, memory streams
// and streams that misbehave the way containers' streams may.
#pragma once
#include <windows.h>
#include <ole2.h>
#include <cstring>
#include <string>
#include <vector>

namespace test {

using Bytes = std::vector<BYTE>;

// Little-endian byte builder for hand-made streams.
struct ByteWriter {
    Bytes b;
    ByteWriter& u8(BYTE v) { b.push_back(v); return *this; }
    ByteWriter& u16(WORD v) { return raw(&v, 2); }
    ByteWriter& u32(DWORD v) { return raw(&v, 4); }
    ByteWriter& raw(const void* p, size_t n) {
        const BYTE* s = static_cast<const BYTE*>(p);
        b.insert(b.end(), s, s + n);
        return *this;
    }
    ByteWriter& bytes(std::initializer_list<BYTE> list) {
        b.insert(b.end(), list);
        return *this;
    }
    ByteWriter& guid(const GUID& g) { return raw(&g, sizeof g); }
    // UTF-16LE characters, without terminator.
    ByteWriter& text(const wchar_t* s) { return raw(s, wcslen(s) * 2); }
};

// A memory stream holding the bytes, positioned at the start.
inline IStream* StreamOf(const Bytes& bytes) {
    IStream* s = nullptr;
    CreateStreamOnHGlobal(nullptr, TRUE, &s);
    if (!bytes.empty()) s->Write(bytes.data(), static_cast<ULONG>(bytes.size()), nullptr);
    LARGE_INTEGER zero{};
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    return s;
}

inline IStream* EmptyStream() { return StreamOf(Bytes{}); }

// Everything the stream holds, whatever its position.
inline Bytes Contents(IStream* s) {
    STATSTG st{};
    s->Stat(&st, STATFLAG_NONAME);
    Bytes out(static_cast<size_t>(st.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    ULARGE_INTEGER pos{};
    s->Seek(zero, STREAM_SEEK_CUR, &pos);
    s->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULONG got = 0;
    if (!out.empty()) s->Read(out.data(), static_cast<ULONG>(out.size()), &got);
    LARGE_INTEGER back;
    back.QuadPart = static_cast<LONGLONG>(pos.QuadPart);
    s->Seek(back, STREAM_SEEK_SET, nullptr);
    return out;
}

inline ULONGLONG Position(IStream* s) {
    LARGE_INTEGER zero{};
    ULARGE_INTEGER pos{};
    s->Seek(zero, STREAM_SEEK_CUR, &pos);
    return pos.QuadPart;
}

// A read-only stream over bytes that can tell neither its size nor its
// position (like a pipe), and that fails reads with `failStatus` once
// `failAt` bytes have been read.
class PipeStream : public IStream {
public:
    explicit PipeStream(Bytes bytes) : m_bytes(std::move(bytes)) {}
    size_t failAt = static_cast<size_t>(-1);
    HRESULT failStatus = STG_E_READFAULT;
    size_t largestRead = 0;  // biggest single request seen

    STDMETHODIMP QueryInterface(REFIID iid, void** ppv) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) ||
            IsEqualIID(iid, IID_IStream)) {
            *ppv = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP Read(void* pv, ULONG cb, ULONG* read) override {
        if (read) *read = 0;
        if (cb > largestRead) largestRead = cb;
        if (m_pos >= failAt) return failStatus;
        size_t n = m_bytes.size() - m_pos;
        if (n > cb) n = cb;
        if (m_pos + n > failAt) n = failAt - m_pos;
        memcpy(pv, m_bytes.data() + m_pos, n);
        m_pos += n;
        if (read) *read = static_cast<ULONG>(n);
        return n < cb ? S_FALSE : S_OK;
    }
    STDMETHODIMP Write(const void*, ULONG, ULONG*) override { return STG_E_ACCESSDENIED; }
    STDMETHODIMP Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP SetSize(ULARGE_INTEGER) override { return E_NOTIMPL; }
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Stat(STATSTG*, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

private:
    Bytes m_bytes;
    size_t m_pos = 0;
    ULONG m_refs = 1;
};

}  // namespace test
