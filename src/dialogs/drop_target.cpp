#include "dialogs/drop_target.h"

#include <ole2.h>
#include <shellapi.h>

#include <new>

#include "ui/gadgets/gadgets.h"

namespace vantrel {

OleSession::OleSession() : ready_(SUCCEEDED(OleInitialize(nullptr))) {}

OleSession::~OleSession() {
  if (ready_) OleUninitialize();
}

namespace {

FORMATETC file_list_format() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

bool offers_files(IDataObject* data) {
  FORMATETC format = file_list_format();
  return data && data->QueryGetData(&format) == S_OK;
}

class FileDropTarget final : public IDropTarget {
 public:
  explicit FileDropTarget(TakeFileBlock take) : take_(take) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
      *out = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return ULONG(left);
  }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    accepts_ = offers_files(data);
    return answer(effect);
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override { return answer(effect); }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    accepts_ = false;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    FORMATETC format = file_list_format();
    STGMEDIUM medium = {};
    bool taken = data && SUCCEEDED(data->GetData(&format, &medium));
    if (taken) {
      if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) take_(medium.hGlobal);
      ReleaseStgMedium(&medium);
    }
    accepts_ = taken;
    answer(effect);
    accepts_ = false;
    return S_OK;
  }

 private:
  // Files are copied into the list, never moved: the copy cursor, or none.
  HRESULT answer(DWORD* effect) const {
    if (!effect) return E_INVALIDARG;
    *effect = accepts_ && (*effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    return S_OK;
  }

  LONG references_ = 1;
  bool accepts_ = false;
  TakeFileBlock take_;
};

}  // namespace

bool register_file_drop_target(HWND window, TakeFileBlock take) {
  if (!window || !take) return false;
  auto* target = new (std::nothrow) FileDropTarget(take);
  if (!target) return false;
  bool registered = SUCCEEDED(RegisterDragDrop(window, target));
  target->Release();  // the registration holds it now
  if (registered) SetPropA(window, DROP_PROPERTY, reinterpret_cast<HANDLE>(1));
  return registered;
}

void revoke_file_drop_target(HWND window) {
  if (window && RemovePropA(window, DROP_PROPERTY)) RevokeDragDrop(window);
}

}  // namespace vantrel
