#include "system_fixtures.h"

#include <mstask.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <wrl/client.h>

#include <vector>

using Microsoft::WRL::ComPtr;

namespace fixtures {
namespace {

constexpr CLSID kSchedulerClass = {0x148BD52A, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
constexpr IID kSchedulerInterface = {0x148BD527, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
constexpr CLSID kTaskClass = {0x148BD520, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};
constexpr IID kTaskInterface = {0x148BD524, 0xA2AB, 0x11CE, {0xB1, 0x1F, 0x00, 0xAA, 0x00, 0x53, 0x05, 0x03}};

std::wstring wide(const std::string& text) {
  std::vector<wchar_t> out(text.size() + 1);
  MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, out.data(), static_cast<int>(out.size()));
  return out.data();
}

SC_HANDLE openService(const std::string& key, DWORD access) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = manager ? OpenServiceA(manager, key.c_str(), access) : nullptr;
  if (manager) CloseServiceHandle(manager);
  return service;
}

DWORD stateOf(const std::string& key) {
  SC_HANDLE service = openService(key, SERVICE_QUERY_STATUS);
  SERVICE_STATUS status{};
  if (service) QueryServiceStatus(service, &status);
  if (service) CloseServiceHandle(service);
  return status.dwCurrentState;
}

}  // namespace

bool createTask(const std::string& name, const std::string& application, const std::string& comment,
                const SYSTEMTIME* once) {
  return createTask(wide(name), application, comment, once);
}

bool createTask(const std::wstring& name, const std::string& application, const std::string& comment,
                const SYSTEMTIME* once) {
  ComPtr<ITaskScheduler> scheduler;
  ComPtr<ITask> task;
  if (FAILED(CoCreateInstance(kSchedulerClass, nullptr, CLSCTX_INPROC_SERVER, kSchedulerInterface,
                              reinterpret_cast<void**>(scheduler.GetAddressOf()))) ||
      FAILED(scheduler->NewWorkItem(name.c_str(), kTaskClass, kTaskInterface,
                                    reinterpret_cast<IUnknown**>(task.GetAddressOf()))))
    return false;
  task->SetApplicationName(wide(application).c_str());
  task->SetComment(wide(comment).c_str());
  task->SetAccountInformation(L"", nullptr);
  if (once) {
    WORD index = 0;
    ComPtr<ITaskTrigger> trigger;
    if (FAILED(task->CreateTrigger(&index, trigger.GetAddressOf()))) return false;
    TASK_TRIGGER t{};
    t.cbTriggerSize = sizeof t;
    t.wBeginYear = once->wYear;
    t.wBeginMonth = once->wMonth;
    t.wBeginDay = once->wDay;
    t.wStartHour = once->wHour;
    t.wStartMinute = once->wMinute;
    t.TriggerType = TASK_TIME_TRIGGER_ONCE;
    if (FAILED(trigger->SetTrigger(&t))) return false;
  }
  ComPtr<IPersistFile> file;
  return SUCCEEDED(task.As(&file)) && SUCCEEDED(file->Save(nullptr, TRUE));
}

std::string taskFile(const std::string& name) {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  return std::string(windows) + "\\Tasks\\" + name + ".job";
}

bool startScheduler() {
  SC_HANDLE service = openService("Schedule", SERVICE_START);
  if (service) StartServiceA(service, 0, nullptr);
  if (service) CloseServiceHandle(service);
  for (int i = 0; i < 50 && stateOf("Schedule") != SERVICE_RUNNING; ++i) Sleep(100);
  return stateOf("Schedule") == SERVICE_RUNNING;
}

void registryService(const std::string& key, const std::string& imagePath, DWORD start, const std::string& dll) {
  const std::string path = "SYSTEM\\CurrentControlSet\\Services\\" + key;
  HKEY service = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &service, nullptr))
    return;
  auto text = [&](HKEY k, const char* name, const std::string& value, DWORD type) {
    RegSetValueExA(k, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  };
  text(service, "ImagePath", imagePath, REG_EXPAND_SZ);
  text(service, "DisplayName", "Display of " + key, REG_SZ);
  text(service, "Description", "About " + key, REG_SZ);
  RegSetValueExA(service, "Start", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&start), sizeof start);
  HKEY parameters = nullptr;
  if (!dll.empty() && !RegCreateKeyExA(service, "Parameters", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &parameters,
                                       nullptr)) {
    text(parameters, "ServiceDll", dll, REG_EXPAND_SZ);
    RegCloseKey(parameters);
  }
  RegCloseKey(service);
}

TestService::TestService(std::string keyName, const std::string& displayName, const std::string& imagePath,
                         DWORD startType)
    : key_(std::move(keyName)) {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return;
  SC_HANDLE service = CreateServiceA(manager, key_.c_str(), displayName.c_str(), SERVICE_ALL_ACCESS,
                                     SERVICE_WIN32_OWN_PROCESS, startType, SERVICE_ERROR_IGNORE, imagePath.c_str(),
                                     nullptr, nullptr, nullptr, nullptr, nullptr);
  installed_ = service != nullptr;
  if (service) CloseServiceHandle(service);
  CloseServiceHandle(manager);
}

TestService::~TestService() {
  SC_HANDLE service = openService(key_, SERVICE_ALL_ACCESS);
  if (!service) return;
  SERVICE_STATUS status{};
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  waitForState(SERVICE_STOPPED, 5000);
  DeleteService(service);
  CloseServiceHandle(service);
  for (int i = 0; i < 50; ++i) {
    SC_HANDLE gone = openService(key_, SERVICE_QUERY_STATUS);
    if (!gone) break;
    CloseServiceHandle(gone);
    Sleep(100);
  }
}

bool TestService::start(const char* argument) const {
  SC_HANDLE service = openService(key_, SERVICE_START);
  const char* arguments[] = {argument};
  const bool started = service && StartServiceA(service, argument ? 1 : 0, argument ? arguments : nullptr);
  if (service) CloseServiceHandle(service);
  return started && waitForState(SERVICE_RUNNING, 5000) == SERVICE_RUNNING;
}

DWORD TestService::waitForState(DWORD state, DWORD ms) const {
  for (DWORD waited = 0; stateOf(key_) != state && waited < ms; waited += 50) Sleep(50);
  return stateOf(key_);
}

DWORD TestService::startType() const {
  SC_HANDLE service = openService(key_, SERVICE_QUERY_CONFIG);
  std::vector<DWORD> buffer(2048);
  auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGA*>(buffer.data());
  DWORD needed = 0;
  const bool read =
      service && QueryServiceConfigA(service, config, static_cast<DWORD>(buffer.size() * sizeof(DWORD)), &needed);
  if (service) CloseServiceHandle(service);
  return read ? config->dwStartType : 0xFFFFFFFF;
}

namespace {

const char* const kHttpCommandKey = "SOFTWARE\\Classes\\HTTP\\shell\\open\\command";

std::string appDataFolder() {
  char folder[MAX_PATH] = "";
  DWORD size = sizeof folder;
  SHGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "AppData",
              nullptr, folder, &size);
  return folder;
}

void setDefault(HKEY root, const char* key, const std::string& text) {
  SHSetValueA(root, key, nullptr, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

}  // namespace

MozillaProfile::MozillaProfile() : mozilla_(appDataFolder() + "\\Mozilla") {
  char command[1024] = "";
  DWORD size = sizeof command;
  SHGetValueA(HKEY_LOCAL_MACHINE, kHttpCommandKey, nullptr, nullptr, command, &size);
  httpCommand_ = command;
  setDefault(HKEY_LOCAL_MACHINE, kHttpCommandKey, "\"C:\\Program Files\\Firefox\\firefox.exe\" -osint -url \"%1\"");
  folder_ = mozilla_;
  for (const char* part : {"", "\\Firefox", "\\Profiles", "\\probe.default"})
    CreateDirectoryA((folder_ += part).c_str(), nullptr);
}

MozillaProfile::~MozillaProfile() {
  std::string doubleNull = mozilla_ + std::string(1, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = doubleNull.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  SHFileOperationA(&op);
  setDefault(HKEY_LOCAL_MACHINE, kHttpCommandKey, httpCommand_);
}

std::string cookieLine(const std::string& domain, const std::string& name, const char* secure,
                       const std::string& value) {
  const char* subdomains = domain[0] == '.' ? "\tTRUE" : "\tFALSE";
  return domain + subdomains + "\t/\t" + secure + "\t4102444800\t" + name + "\t" + value + "\n";
}

HWND openMozillaWindow() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "MozillaWindowClass";
  RegisterClassA(&wc);
  return CreateWindowA(wc.lpszClassName, "probe", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace fixtures
