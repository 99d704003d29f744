// Stand-in for the file-IO hook library iohook.dll. It patches the file
// functions that the DirectShow runtime (quartz.dll) imports, so that a media
// file still being downloaded looks to the file source as if it had its
// final size: a read beyond the part on disk waits until that part has
// arrived, for a bounded time (ZL_IOHOOK_WAIT_MS, 20 s by default), or not at
// all while the splitter probes the file; after that it reads what is there.
// Files opened while hooked are shared for writing, so that the download can
// go on appending to the file the player holds open.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

#include "shared/CriticalSection.h"

namespace {

using CreateFileWFn = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
using ReadFileFn = BOOL(WINAPI*)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
using GetFileSizeExFn = BOOL(WINAPI*)(HANDLE, PLARGE_INTEGER);
using GetFileSizeFn = DWORD(WINAPI*)(HANDLE, LPDWORD);
using CloseHandleFn = BOOL(WINAPI*)(HANDLE);

CreateFileWFn g_createFileW = CreateFileW;
ReadFileFn g_readFile = ReadFile;
GetFileSizeExFn g_getFileSizeEx = GetFileSizeEx;
GetFileSizeFn g_getFileSize = GetFileSize;
CloseHandleFn g_closeHandle = CloseHandle;

struct Patch {
  void** slot;
  void* original;
};

zl::CriticalSection g_lock;
std::vector<Patch> g_patches;
std::set<HANDLE> g_tracked;
HMODULE g_runtime = nullptr;
std::atomic<bool> g_hooked{false}, g_readHook{false}, g_probing{false};
std::atomic<unsigned long long> g_finalSize{0};

DWORD WaitBoundMs() {
  const char* text = std::getenv("ZL_IOHOOK_WAIT_MS");
  return text && *text ? DWORD(std::strtoul(text, nullptr, 10)) : 20000;
}

bool Tracked(HANDLE h) {
  zl::Lock lock(g_lock);
  return g_tracked.count(h) != 0;
}

unsigned long long DiskSize(HANDLE h) {
  LARGE_INTEGER size{};
  return g_getFileSizeEx(h, &size) ? (unsigned long long)size.QuadPart : 0;
}

HANDLE WINAPI HookCreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa, DWORD disposition,
                              DWORD flags, HANDLE templ) {
  if (g_hooked) share |= FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE h = g_createFileW(name, access, share, sa, disposition, flags, templ);
  const bool readOnly = !(access & (GENERIC_WRITE | FILE_WRITE_DATA | FILE_APPEND_DATA));
  if (h != INVALID_HANDLE_VALUE && g_readHook && readOnly && disposition == OPEN_EXISTING) {
    zl::Lock lock(g_lock);
    g_tracked.insert(h);
  }
  return h;
}

BOOL WINAPI HookGetFileSizeEx(HANDLE h, PLARGE_INTEGER size) {
  const BOOL ok = g_getFileSizeEx(h, size);
  if (ok && g_readHook && Tracked(h) && (unsigned long long)size->QuadPart < g_finalSize)
    size->QuadPart = LONGLONG(g_finalSize.load());
  return ok;
}

DWORD WINAPI HookGetFileSize(HANDLE h, LPDWORD high) {
  if (!(g_readHook && Tracked(h))) return g_getFileSize(h, high);
  LARGE_INTEGER size{};
  if (!HookGetFileSizeEx(h, &size)) return INVALID_FILE_SIZE;
  if (high) *high = DWORD(size.QuadPart >> 32);
  return DWORD(size.QuadPart);
}

BOOL WINAPI HookReadFile(HANDLE h, LPVOID buffer, DWORD n, LPDWORD read, LPOVERLAPPED ovl) {
  if (g_readHook && Tracked(h)) {
    unsigned long long offset = 0;
    if (ovl) {
      offset = (unsigned long long)ovl->Offset | ((unsigned long long)ovl->OffsetHigh << 32);
    } else {
      LARGE_INTEGER zero{}, at{};
      SetFilePointerEx(h, zero, &at, FILE_CURRENT);
      offset = (unsigned long long)at.QuadPart;
    }
    const unsigned long long end = std::min<unsigned long long>(offset + n, g_finalSize);
    const DWORD bound = g_probing ? 0 : WaitBoundMs();
    const DWORD began = GetTickCount();
    while (g_readHook && DiskSize(h) < end && GetTickCount() - began < bound) Sleep(10);
  }
  return g_readFile(h, buffer, n, read, ovl);
}

BOOL WINAPI HookCloseHandle(HANDLE h) {
  {
    zl::Lock lock(g_lock);
    g_tracked.erase(h);
  }
  return g_closeHandle(h);
}

void* Replacement(const char* name) {
  if (!std::strcmp(name, "CreateFileW")) return reinterpret_cast<void*>(&HookCreateFileW);
  if (!std::strcmp(name, "ReadFile")) return reinterpret_cast<void*>(&HookReadFile);
  if (!std::strcmp(name, "GetFileSizeEx")) return reinterpret_cast<void*>(&HookGetFileSizeEx);
  if (!std::strcmp(name, "GetFileSize")) return reinterpret_cast<void*>(&HookGetFileSize);
  if (!std::strcmp(name, "CloseHandle")) return reinterpret_cast<void*>(&HookCloseHandle);
  return nullptr;
}

void WriteSlot(void** slot, void* value) {
  DWORD old = 0;
  if (!VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) return;
  *slot = value;
  VirtualProtect(slot, sizeof(void*), old, &old);
}

// Points the module's kernel32 imports of the file functions at the hooks.
void PatchImports(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return;
  for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); desc->Name; ++desc) {
    const char* dll = reinterpret_cast<const char*>(base + desc->Name);
    if (lstrcmpiA(dll, "kernel32.dll") != 0 && lstrcmpiA(dll, "kernelbase.dll") != 0) continue;
    if (!desc->OriginalFirstThunk) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      void* hook = Replacement(reinterpret_cast<const char*>(byName->Name));
      if (!hook) continue;
      void** slot = reinterpret_cast<void**>(&slots->u1.Function);
      g_patches.push_back({slot, *slot});
      WriteSlot(slot, hook);
    }
  }
}

}  // namespace

extern "C" {

int __cdecl HookFileIO(int) {
  zl::Lock lock(g_lock);
  if (g_hooked) return 1;
  // The graph loads the runtime later; it is loaded (and kept) now so that
  // its imports can be patched before the file source opens the file.
  g_runtime = LoadLibraryW(L"quartz.dll");
  if (!g_runtime) return 0;
  PatchImports(g_runtime);
  g_hooked = true;
  return 1;
}

int __cdecl UnhookFileIO() {
  zl::Lock lock(g_lock);
  g_readHook = false;
  if (!g_hooked) return 1;
  for (auto it = g_patches.rbegin(); it != g_patches.rend(); ++it) WriteSlot(it->slot, it->original);
  g_patches.clear();
  g_tracked.clear();
  g_hooked = false;
  if (g_runtime) FreeLibrary(g_runtime);
  g_runtime = nullptr;
  return 1;
}

int __cdecl SetHookReadFile(int on) {
  g_readHook = on != 0;
  return 1;
}

int __cdecl SetFileSize(unsigned long size) {
  g_finalSize = size;
  return 1;
}

int __cdecl SetConnectFilter(int on) {
  g_probing = on != 0;
  return 1;
}

}  // extern "C"
