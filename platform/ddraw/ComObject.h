#pragma once
// Reference counting shared by every object of the display layer.
#include "ddraw/WinTypes.h"

#include <initializer_list>

namespace ddrawx {

// Counts the layer's live objects (see LiveObjectCount).
void CountLiveObject(int delta);

// Implements AddRef and Release for one interface: the object starts with one reference
// and deletes itself when the last one goes.
template <class Interface> class ComObject : public Interface
{
public:
    ULONG AddRef() override { return ++m_RefCount; }
    ULONG Release() override
    {
        if (m_RefCount == 0)
            return 0;
        ULONG left = --m_RefCount;
        if (left == 0)
            delete this;
        return left;
    }
    ULONG RefCount() const { return m_RefCount; }

protected:
    ComObject() { CountLiveObject(1); }
    virtual ~ComObject() { CountLiveObject(-1); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    // Answers QueryInterface for the interfaces in ids (besides IUnknown) with this object.
    HRESULT QueryOwn(REFIID iid, void** object, std::initializer_list<const IID*> ids)
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        bool known = IsEqualGUID(iid, IID_IUnknown);
        for (const IID* id : ids)
            known = known || IsEqualGUID(iid, *id);
        if (!known)
            return E_NOINTERFACE;
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }

private:
    ULONG m_RefCount = 1;
};

} // namespace ddrawx
