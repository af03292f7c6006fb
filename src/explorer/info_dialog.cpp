#include "info_dialog.h"

#include <shellapi.h>

#include <vector>

#include "base/alert_rules.h"
#include "base/entry_tables.h"
#include "base/ie_helper_rules.h"
#include "base/page_rules.h"
#include "base/task_service_text.h"
#include "base/text.h"
#include "inventory/data_folder.h"
#include "inventory/date_text.h"
#include "inventory/detection_store.h"
#include "inventory/help_pages.h"
#include "inventory/online_info.h"
#include "inventory/processes.h"
#include "inventory/program_file.h"
#include "inventory/scheduled_tasks.h"
#include "inventory/service_control.h"
#include "inventory/services.h"
#include "inventory/signer.h"
#include "inventory/string_loader.h"
#include "list_page.h"
#include "placement.h"
#include "resource.h"
#include "startup_pages.h"
#include "sys/paths.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr std::size_t kNoteLimit = 16384;
constexpr int kStopWaitMs = 1000;
constexpr int kStopPollMs = 100;

std::string readTextFile(const std::string& path, std::size_t limit) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return "";
  std::string text(limit, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), text.data(), static_cast<DWORD>(limit), &read, nullptr)) return "";
  text.resize(read);
  return text;
}

bool writeTextFile(const std::string& path, const std::string& text) {
  UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

}  // namespace

INT_PTR InfoDialog::run(HWND owner) {
  state_.infoExpanded = !state_.infoExpanded;
  return runModal(state_.instance, IDD_INFO, owner);
}

BOOL InfoDialog::onInit() {
  setDialogText(window_, IDS_LABEL_COMPANY, IDC_INFO_COMPANY_LABEL);
  setDialogText(window_, IDS_LABEL_VERSION, IDC_INFO_VERSION_LABEL);
  setDialogText(window_, IDS_LABEL_COPYRIGHT, IDC_INFO_COPYRIGHT_LABEL);
  setDialogText(window_, IDS_LABEL_STARTUP_TYPE, IDC_INFO_START_TYPE_LABEL);
  setDialogText(window_, IDS_LABEL_STATUS, IDC_INFO_STATUS_LABEL);
  setDialogText(window_, IDS_BTN_APPLY, IDC_INFO_APPLY);
  setDialogText(window_, IDS_LABEL_DATE_CREATED, IDC_INFO_CREATED_LABEL);
  setDialogText(window_, IDS_LABEL_LAST_SAVED, IDC_INFO_WRITTEN_LABEL);
  setDialogText(window_, IDS_LABEL_FILE_SIZE, IDC_INFO_SIZE_LABEL);
  setDialogText(window_, IDS_LABEL_DETECTED, IDC_INFO_DETECTED_LABEL);
  setDialogText(window_, IDS_BTN_ONLINE_INFO, IDC_INFO_ONLINE);
  setDialogText(window_, IDS_BTN_FREE_INFO, IDC_INFO_FREE_INFO);
  setDialogText(window_, IDS_BTN_CLOSE, IDOK);
  SendMessageA(item(IDC_INFO_DESCRIPTION), WM_SETFONT, reinterpret_cast<WPARAM>(state_.fonts.bold.get()), FALSE);
  SendMessageA(item(IDC_INFO_NOTE), EM_LIMITTEXT, kNoteLimit, 0);
  restoreDialogPlacement(state_, window_, "Info");
  applyLayout();
  fillPanel();
  return focusDefaultButton();
}

void InfoDialog::useNoteFont(bool note) {
  HGDIOBJ font = note ? state_.fonts.note.get() : state_.fonts.small.get();
  SendMessageA(item(IDC_INFO_NOTE), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void InfoDialog::fillPanel() {
  WaitCursor wait;
  const EntryList& list = state_.entries;
  const int type = list.typeCode(entry_);
  const bool service = isService();
  enableItem(IDC_INFO_APPLY, false);
  showItem(IDC_INFO_APPLY, false);
  showItem(IDC_INFO_START_TYPE_LABEL, false);
  showItem(IDC_INFO_STOP, false);
  showItem(IDC_INFO_START, false);
  showItem(IDC_INFO_STATUS, true);
  showItem(IDC_INFO_STATUS_LABEL, true);

  file_ = programFileOfCommand(list.programPath(entry_));
  const bool exists = programFileExists(file_);
  setItemText(IDC_INFO_PATH, file_);
  SetWindowTextA(window_, list.name(entry_).c_str());
  // A button's icon file is its detail; a toolbar's detail is a version text, so its module's icon shows.
  const bool buttonIcon =
      (type == 901 || type == 902) && GetFileAttributesA(list.detail(entry_).c_str()) != INVALID_FILE_ATTRIBUTES;
  const std::string iconFile = buttonIcon ? list.detail(entry_) : file_;
  HICON icon = nullptr;
  if (buttonIcon || exists) ExtractIconExA(iconFile.c_str(), 0, &icon, nullptr, 1);
  SendMessageA(item(IDC_INFO_ICON), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  icon_.reset(icon);

  if (!service) {
    const std::string location = startupLocationDescription(list.typeCode(entry_), list.disabledState(entry_) != 0);
    setItemText(IDC_INFO_LOCATION, loadString(IDS_STARTUP_LOCATION, 64) + location);
    showItem(IDC_INFO_LOCATION, true);
    showItem(IDC_INFO_START_TYPE, false);
    if (type < 900) {
      if (findProcessOfProgram(file_)) {
        setItemText(IDC_INFO_STATUS, loadString(IDS_STATE_RUNNING, 64));
        setDialogText(window_, IDS_BTN_KILL_TASK, IDC_INFO_STOP);
        showItem(IDC_INFO_STOP, true);
        enableItem(IDC_INFO_STOP, true);
      } else if (!exists) {
        setItemText(IDC_INFO_STATUS, loadString(IDS_LOCAL_FILE_NOT_FOUND, 64));
      } else {
        setItemText(IDC_INFO_STATUS, loadString(IDS_STATUS_READY, 64));
        setDialogText(window_, IDS_BTN_RUN, IDC_INFO_START);
        showItem(IDC_INFO_START, true);
      }
    } else {
      showItem(IDC_INFO_STATUS, false);
      showItem(IDC_INFO_STATUS_LABEL, false);
    }
  } else {
    setDialogText(window_, IDS_BTN_STOP, IDC_INFO_STOP);
    HWND combo = item(IDC_INFO_START_TYPE);
    if (SendMessageA(combo, CB_GETCOUNT, 0, 0) == 0)
      for (UINT id : {IDS_START_AUTOMATIC, IDS_START_MANUAL, IDS_START_DISABLED})
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(loadString(id, 64).c_str()));
    const std::string startType = list.key(entry_);
    if (!startType.empty()) {
      showItem(IDC_INFO_LOCATION, false);
      for (int id : {IDC_INFO_STATUS, IDC_INFO_STOP, IDC_INFO_APPLY, IDC_INFO_START_TYPE_LABEL, IDC_INFO_STATUS_LABEL,
                     IDC_INFO_START_TYPE})
        showItem(id, true);
      startType_ = static_cast<int>(
          SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(startType.c_str())));
      SendMessageA(combo, CB_SETCURSEL, startType_, 0);
      showServiceState();
    } else {
      setItemText(IDC_INFO_LOCATION, "");
    }
  }
  if (!exists) setItemText(IDC_INFO_STATUS, loadString(IDS_LOCAL_FILE_NOT_FOUND, 64));

  VersionRecord version;
  if (exists) readVersionRecord(file_, version);
  setItemText(IDC_INFO_PRODUCT, version.productName);
  setItemText(IDC_INFO_VERSION, version.productVersion);
  setItemText(IDC_INFO_COMPANY, version.companyName);
  setItemText(IDC_INFO_DESCRIPTION, version.fileDescription.empty() ? list.name(entry_) : version.fileDescription);
  setItemText(IDC_INFO_COPYRIGHT, version.legalCopyright);
  // One file: verified here, and only once per file for the whole session.
  setItemText(IDC_INFO_SIGNER, exists ? signerOfFile(file_).text : "");

  WIN32_FILE_ATTRIBUTE_DATA data{};
  const bool dated = exists && GetFileAttributesExA(file_.c_str(), GetFileExInfoStandard, &data);
  setItemText(IDC_INFO_CREATED, dated ? fileTimeText(data.ftCreationTime) : "");
  setItemText(IDC_INFO_WRITTEN, dated ? fileTimeText(data.ftLastWriteTime) : "");
  setItemText(IDC_INFO_SIZE, !exists ? "" : dated ? thousandsText(data.nFileSizeLow) : loadString(IDS_FILE_IN_USE, 64));
  setItemText(IDC_INFO_DETECTED, exists ? firstDetectionDate(file_, type) : "");

  setDialogText(window_, IDS_BTN_CREATE_NOTE, IDC_INFO_NOTE_BUTTON);
  enableItem(IDC_INFO_NOTE_BUTTON, true);
  SendMessageA(item(IDC_INFO_NOTE), EM_SETREADONLY, TRUE, 0);
  noteFile_ = existingNoteFile(list.programPath(entry_));
  const bool hasNote = !noteFile_.empty();
  std::string text;
  if (hasNote) {
    text = readTextFile(noteFile_, kNoteLimit);
    SendMessageA(item(IDC_INFO_NOTE), EM_SETREADONLY, FALSE, 0);
    setDialogText(window_, IDS_BTN_SAVE_NOTE, IDC_INFO_NOTE_BUTTON);
    useNoteFont(true);
  } else if (!list.detail(entry_).empty()) {
    text = list.detail(entry_);
    SendMessageA(item(IDC_INFO_NOTE), WM_SETFONT, reinterpret_cast<WPARAM>(state_.fonts.bold.get()), TRUE);
  } else {
    text = loadString(IDS_INFO_DEFAULT_NOTE);
    useNoteFont(false);
  }
  if (!hasNote) {
    if (type >= 250 && type <= 256) {
      useNoteFont(true);
      showItem(IDC_INFO_STOP, false);
      showItem(IDC_INFO_START, false);
      std::string description;
      if (serviceDescriptionForProgram(file_, description) > 0)
        text = description;
      else
        text = contains(version.companyName, "Microsoft")
                   ? fillText(loadString(IDS_INFO_MICROSOFT_FILE), {list.name(entry_)}) +
                         loadString(IDS_INFO_DEFAULT_NOTE)
                   : loadString(IDS_INFO_DEFAULT_NOTE);
    } else if (type == 400) {
      text = loadString(IDS_FILE_TYPE_EXTENSION, 64) + list.detail(entry_);
    } else if (type == typecode::kScheduledTask) {
      text = taskDetailText(list.name(entry_));
    } else if (type >= 900 && type <= 902) {
      text = loadString(IDS_INFO_DEFAULT_NOTE);
      useNoteFont(false);
    } else if (type == typecode::kRunningProgram) {
      std::string description;
      if (serviceDescriptionForProgram(file_, description) > 0) text = description;
    }
  }
  if (type >= 900 && type <= 902)
    setItemText(IDC_INFO_LOCATION, loadString(IDS_LOCATION, 64) + ": \"" + addOnLocation(type) + "\"");
  if (type == 370) {
    showItem(IDC_INFO_STATUS, false);
    showItem(IDC_INFO_STOP, false);
    showItem(IDC_INFO_START, false);
  }
  if (type == 400 || type == 600) setItemText(IDC_INFO_LOCATION, "");
  setItemText(IDC_INFO_NOTE, text);
  SendMessageA(item(IDC_INFO_NOTE), EM_SETMODIFY, FALSE, 0);
  if (hasNote) {
    SetFocus(item(IDC_INFO_NOTE));
    SendMessageA(item(IDC_INFO_NOTE), EM_SETSEL, text.size(), text.size());
  }
}

bool InfoDialog::isService() const {
  const int type = state_.entries.typeCode(entry_);
  return type == typecode::kServiceExe || type == typecode::kServiceSvchost;
}

void InfoDialog::showServiceState() {
  const std::string name = state_.entries.name(entry_);
  std::string status;
  serviceRunStateText(name, status);
  setItemText(IDC_INFO_STATUS, status);
  enableItem(IDC_INFO_STOP, (serviceAcceptedControls(name) & SERVICE_ACCEPT_STOP) != 0);
}

void InfoDialog::stopService() {
  const EntryList& list = state_.entries;
  const std::string name = list.name(entry_);
  if (stopServiceRecorded(name, list.programPath(entry_), list.typeCode(entry_))) {
    // Most services are gone within moments; one that takes longer shows as pending.
    for (int waited = 0; waited < kStopWaitMs; waited += kStopPollMs) {
      Sleep(kStopPollMs);
      if (stateOfPacked(serviceRunState(name)) == SERVICE_STOPPED) break;
    }
  }
  fillPanel();
}

void InfoDialog::applyStartType() {
  HWND combo = item(IDC_INFO_START_TYPE);
  const int chosen = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
  EntryList& list = state_.entries;
  if (chosen >= 0 &&
      applyServiceStartChoice(list.name(entry_), list.programPath(entry_), list.typeCode(entry_), chosen)) {
    startType_ = chosen;
    const std::string text = loadString(static_cast<UINT>(IDS_START_AUTOMATIC + chosen), 64);
    list.setKey(entry_, text);
  } else {
    // The manager refused: the choice shown goes back to what still holds.
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(startType_), 0);
  }
  enableItem(IDC_INFO_APPLY, false);
  showServiceState();
}

void InfoDialog::applyLayout() {
  const bool expanded = state_.infoExpanded;
  HDC screen = GetDC(nullptr);
  const double scale = GetDeviceCaps(screen, LOGPIXELSY) / 96.0;
  ReleaseDC(nullptr, screen);
  RECT r;
  GetWindowRect(window_, &r);
  SetWindowPos(window_, nullptr, 0, 0, r.right - r.left, static_cast<int>((expanded ? 421 : 246) * scale),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const int buttons[] = {IDC_INFO_ONLINE, IDC_INFO_FREE_INFO, IDC_INFO_NOTE_BUTTON, IDC_INFO_PREVIOUS, IDC_INFO_NEXT, IDOK};
  const int columns[] = {7, 88, 169, 267, 301, 348};
  const int y = static_cast<int>((expanded ? 350 : 185) * scale);
  for (int i = 0; i < 6; ++i) {
    RECT units{columns[i], 0, 0, 0};
    MapDialogRect(window_, &units);
    SetWindowPos(item(buttons[i]), nullptr, units.left, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  for (int id : {IDC_INFO_NOTE, IDC_INFO_NOTE_BUTTON, IDC_INFO_CREATED_LABEL, IDC_INFO_WRITTEN_LABEL, IDC_INFO_SIZE_LABEL,
                 IDC_INFO_DETECTED_LABEL, IDC_INFO_CREATED, IDC_INFO_WRITTEN, IDC_INFO_SIZE, IDC_INFO_DETECTED})
    showItem(id, expanded);
  setDialogText(window_, expanded ? IDS_BTN_SHRINK : IDS_BTN_EXPAND, IDC_INFO_EXPAND);
}

void InfoDialog::close() {
  savePlacement(state_, window_, "Info");
  end(IDOK);
}

void InfoDialog::writeNote() {
  const std::string programPath = state_.entries.programPath(entry_);
  if (!noteFile_.empty()) {
    writeTextFile(noteFile_, cut(itemText(IDC_INFO_NOTE), kNoteLimit));
    enableItem(IDC_INFO_NOTE_BUTTON, false);
    SendMessageA(item(IDC_INFO_NOTE), EM_SETMODIFY, FALSE, 0);
    return;
  }
  SendMessageA(item(IDC_INFO_NOTE), EM_SETREADONLY, FALSE, 0);
  setDialogText(window_, IDS_BTN_SAVE_NOTE, IDC_INFO_NOTE_BUTTON);
  useNoteFont(true);
  const std::string text = state_.entries.name(entry_) + "\r\n" + programPath + "\r\n";
  setItemText(IDC_INFO_NOTE, text);
  // A note that cannot be written stays in the dialog; nothing is reported,
  // and Save writes what was typed there, never name and path again.
  noteFile_ = programFolder() + "\\" + noteFileName(file_);
  writeTextFile(noteFile_, text);
  SetFocus(item(IDC_INFO_NOTE));
  SendMessageA(item(IDC_INFO_NOTE), EM_SETSEL, text.size(), text.size());
}

bool InfoDialog::onCommand(int id, int code, HWND) {
  const EntryList& list = state_.entries;
  switch (id) {
    case IDC_INFO_STOP:
      if (isService()) {
        stopService();
        return true;
      }
      stopProgram(file_, list.name(entry_), false, loadString(IDS_CAPTION, 32));
      fillPanel();
      return true;
    case IDC_INFO_START:
      if (!isService()) ShellExecuteA(window_, "open", file_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
      fillPanel();
      return true;
    case IDC_INFO_APPLY:
      if (isService()) applyStartType();
      return true;
    case IDC_INFO_EXPAND:
      state_.infoExpanded = !state_.infoExpanded;
      applyLayout();
      return true;
    case IDC_INFO_START_TYPE:
      if (code == CBN_SELCHANGE) {
        const int chosen = static_cast<int>(SendMessageA(item(IDC_INFO_START_TYPE), CB_GETCURSEL, 0, 0));
        enableItem(IDC_INFO_APPLY, chosen != startType_);
      }
      return true;
    case IDC_INFO_NOTE:
      if (code == EN_CHANGE) enableItem(IDC_INFO_NOTE_BUTTON, true);
      return true;
    case IDC_INFO_ONLINE:
      openOnlineInformation(list.typeCode(entry_), list.programPath(entry_), list.name(entry_));
      SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      return true;
    case IDC_INFO_FREE_INFO:
      openWebAddress(makerWebHost() + "stats.html");
      return true;
    case IDC_INFO_NOTE_BUTTON:
      writeNote();
      return true;
    case IDC_INFO_NEXT:
      entry_ = nextIndex(entry_, list.count());
      fillPanel();
      return true;
    case IDC_INFO_PREVIOUS:
      entry_ = previousIndex(entry_, list.count());
      fillPanel();
      return true;
    default:
      return false;
  }
}

}  // namespace tavrin
