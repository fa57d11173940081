#pragma once
// The handful of Windows base types the display layer's interfaces are written in:
// fixed-width integers, result codes, opaque handles, rectangles, GUIDs and IUnknown.
// Sizes are those of 32-bit Windows (DWORD and LONG are 32 bits, HRESULT a
// signed 32-bit code), so result codes print the same everywhere.
#include <cstdint>
#include <cstring>

typedef std::uint8_t BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef int BOOL;
typedef std::int32_t HRESULT;
typedef void* LPVOID;
typedef void* HANDLE;
typedef char* LPSTR;
typedef DWORD* LPDWORD;

// Window, device-context and monitor handles are opaque here: the display layer keeps them
// only to hand them back; it never looks inside.
typedef struct HWND__* HWND;
typedef struct HDC__* HDC;
typedef struct HMONITOR__* HMONITOR;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

// A result code: negative is failure. The facility of the display layer is 0x876.
#define MAKE_HRESULT(sev, fac, code)                                                               \
    ((HRESULT)(((std::uint32_t)(sev) << 31) | ((std::uint32_t)(fac) << 16) |                       \
               ((std::uint32_t)(code))))
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = (HRESULT)0x80004001u;
constexpr HRESULT E_NOINTERFACE = (HRESULT)0x80004002u;
constexpr HRESULT E_POINTER = (HRESULT)0x80004003u;
constexpr HRESULT E_FAIL = (HRESULT)0x80004005u;
constexpr HRESULT E_OUTOFMEMORY = (HRESULT)0x8007000Eu;
constexpr HRESULT E_INVALIDARG = (HRESULT)0x80070057u;
constexpr HRESULT CO_E_NOTINITIALIZED = (HRESULT)0x800401F0u;

// A rectangle: left and top inclusive, right and bottom exclusive.
struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;

struct GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;
typedef GUID* LPGUID;

inline bool IsEqualGUID(REFGUID a, REFGUID b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

extern const IID IID_IUnknown;

// The base of every interface of the layer. An object lives while its reference count is
// above zero: AddRef and Release return the new count, and the Release that returns 0 has
// destroyed the object. QueryInterface hands out another interface of the same object
// (counted like AddRef) or fails with E_NOINTERFACE and a null pointer.
struct IUnknown
{
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};
typedef IUnknown* LPUNKNOWN;
