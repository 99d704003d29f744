#pragma once
// The LogSvr COM object. Each client creates one, calls Init and LogMsg once
// from one thread and releases it.
#include <windows.h>

#include <string>

#include "ILogSvr.h"
#include "LogQuota.h"
#include "shared/CriticalSection.h"

namespace logsvr {

class CLogSvr : public ILogSvr {
 public:
  CLogSvr();
  virtual ~CLogSvr();
  CLogSvr(const CLogSvr&) = delete;
  CLogSvr& operator=(const CLogSvr&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // ILogSvr
  HRESULT STDMETHODCALLTYPE Init(BSTR SoftName, BSTR bzSoftName) override;
  HRESULT STDMETHODCALLTYPE LogMsg(BSTR bzAct, BSTR bzMsg) override;

 private:
  HRESULT InitLocked(const std::string& softName, const std::string& sourceName);
  HRESULT LogMsgLocked(const std::string& act, const std::string& msg);
  HRESULT SendUninstall(const std::string& msg);
  bool PostEvent(const std::string& line);
  void LoadMessageTable();

  LONG refs_ = 1;
  std::string source_;
  std::string activityLog_;
  MessageTable table_;
  zl::CriticalSection lock_;
};

// Server-wide object and lock count for DllCanUnloadNow.
void ModuleAddRef();
void ModuleRelease();

// Time limit of one post; tests shorten it through the DLL's test export.
unsigned PostTimeoutMs();
void SetPostTimeoutMs(unsigned ms);

}  // namespace logsvr
