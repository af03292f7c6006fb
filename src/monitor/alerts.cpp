#include "alerts.h"

#include <shellapi.h>

#include "base/commands.h"
#include "base/entry_tables.h"
#include "base/text.h"
#include "inventory/help_pages.h"
#include "inventory/history.h"
#include "inventory/online_info.h"
#include "inventory/program_file.h"
#include "inventory/service_control.h"
#include "inventory/signer.h"
#include "inventory/string_loader.h"
#include "resource.h"
#include "sys/dialog.h"
#include "sys/registry.h"
#include "sys/version.h"

namespace tavrin {
namespace {

constexpr std::size_t kSubjectWidth = 259;

HFONT createFont(int height, int weight, bool underline, const char* face) {
  return CreateFontA(-height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS | DEFAULT_PITCH, face);
}

void setFont(HWND dialog, int control, const UniqueFont& font) {
  if (font) SendDlgItemMessageA(dialog, control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
}

void setTextIfAny(HWND dialog, int control, const std::string& text) {
  if (!text.empty()) SetDlgItemTextA(dialog, control, text.c_str());
}

// A program file's first icon on an icon button; the dialog keeps the icon while it shows.
UniqueIcon showIcon(HWND dialog, int control, const std::string& file) {
  HICON icon = ExtractIconA(GetModuleHandleA(nullptr), file.c_str(), 0);
  if (reinterpret_cast<UINT_PTR>(icon) <= 1) return UniqueIcon();
  SendDlgItemMessageA(dialog, control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  return UniqueIcon(icon);
}

struct ProgramInfo {
  std::string file;
  bool exists = false;
  VersionRecord version;
  std::string signer;  // "Signer: " and the verdict; empty without a file
};

ProgramInfo programInfo(const std::string& path) {
  ProgramInfo info;
  info.file = programFileOfCommand(path);
  info.exists = !info.file.empty() && programFileExists(info.file);
  if (!info.exists) return info;
  readVersionRecord(info.file, info.version);
  // Only an alert's subject is verified, never the whole inventory of a pass.
  const Signer signer = signerOfFile(info.file);
  if (!signer.text.empty()) info.signer = "Signer: " + signer.text;
  return info;
}

constexpr char kPlacementKey[] = "Software\\Quennet\\Tavrin";

// The common part of every alert but the file-type one.
class AlertDialog : public Dialog {
 public:
  AlertDialog(const AlertContext& context, UINT caption, bool showsCopyright)
      : context_(context), caption_(caption), showsCopyright_(showsCopyright) {}

 protected:
  AlertSubject& subject() { return *context_.subject; }
  const AlertFonts& fonts() { return *context_.fonts; }
  const ProgramInfo& program() const { return program_; }

  virtual std::string nameLine() { return subject().name; }
  virtual UINT versionLabel() const { return IDS_LABEL_VERSION; }
  virtual void fillTexts() = 0;
  virtual void writeAlertHistory() {}
  // The dialog's result for a button; 0 when the button does not end it.
  virtual INT_PTR resultOf(int button) = 0;

  BOOL onInit() override {
    program_ = programInfo(subject().programPath);
    HWND w = handle();
    SetDlgItemTextA(w, IDC_PATH, subject().programPath.c_str());
    setFont(w, IDC_PATH, fonts().path);
    const std::string caption = loadString(caption_, 260);
    if (!caption.empty()) SetWindowTextA(w, caption.c_str());
    if (program_.exists) icon_ = showIcon(w, IDC_PROGRAM_ICON, program_.file);
    SetDlgItemTextA(w, IDC_NAME_LINE, nameLine().c_str());
    setFont(w, IDC_NAME_LINE, fonts().title);
    setTextIfAny(w, IDC_VERSION, program_.version.productVersion);
    setTextIfAny(w, IDC_COMPANY, program_.version.companyName);
    setTextIfAny(w, IDC_SIGNER, program_.signer);
    setTextIfAny(w, IDC_DESCRIPTION, program_.version.fileDescription);
    if (showsCopyright_) setTextIfAny(w, IDC_COPYRIGHT, program_.version.legalCopyright);
    setDialogText(w, versionLabel(), IDC_VERSION_LABEL);
    fillTexts();
    writeAlertHistory();
    restorePlacement();
    // The answer Enter gives has the focus, not the icon or Online Info.
    return focusDefaultButton();
  }

  bool onCommand(int id, int, HWND) override {
    if (id == IDC_ONLINE_INFO) {
      openOnlineInformation(subject().typeCode + 1000, subject().programPath, subject().name);
      // Let the browser come in front of a top-most alert.
      SetWindowPos(handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
      return true;
    }
    const INT_PTR result = resultOf(id);
    if (result == 0) return false;
    subject().clear();
    end(result);
    return true;
  }

  void onDestroy() override { saveAlertPlacement(handle(), "Alert"); }
  // An alert ends only with one of its answers.
  void onOk() override {}
  void onCancel() override {}

 private:
  void restorePlacement() { restoreAlertPlacement(handle(), "Alert"); }

  AlertContext context_;
  UINT caption_;
  bool showsCopyright_;
  ProgramInfo program_;
  UniqueIcon icon_;
};

void writeAlertRecord(const std::string& name, const ProgramInfo& program, int typeCode, int actionCode) {
  writeHistory(name, program.file, program.version.fileDescription, typeCode, actionCode);
}

class NewStartupAlert : public AlertDialog {
 public:
  NewStartupAlert(const AlertContext& context, RepeatAlerts& repeats, int& hideAlerts)
      : AlertDialog(context, IDS_ALERT_CAPTION, false), repeats_(repeats), hideAlerts_(hideAlerts) {}

 private:
  std::string nameLine() override { return startupNameLine(subject().typeCode, program().version.productName); }
  UINT versionLabel() const override { return IDS_LABEL_VERSION_PLAIN; }

  void fillTexts() override {
    HWND w = handle();
    HWND check = GetDlgItem(w, IDC_DONT_ASK_AGAIN);
    EnableWindow(check, FALSE);
    ShowWindow(check, SW_HIDE);
    repeats_.noteAlert(subject().programPath);
    const std::string text = loadString(IDS_ALERT_NEW_STARTUP);
    if (text.find("%s") != std::string::npos) {
      setFont(w, IDC_EXPLANATION, fonts().path);
      const std::string sentence = loadString(static_cast<UINT>(startupLocationSentence(subject().typeCode)));
      SetDlgItemTextA(w, IDC_EXPLANATION, fillText(text, {sentence}).c_str());
    } else {
      setTextIfAny(w, IDC_EXPLANATION, text);
    }
    setDialogText(w, IDS_BTN_YES, IDYES);
    setDialogText(w, IDS_BTN_NO, IDNO);
  }

  void writeAlertHistory() override {
    writeAlertRecord(nameLine(), program(), subject().typeCode, action::kStartAlert);
  }

  INT_PTR resultOf(int button) override {
    if (button != IDYES && button != IDNO && button != IDCANCEL) return 0;
    const StartupAnswer answer = answerStartupAlert(button != IDNO, subject().typeCode, repeats_);
    if (answer.refuseRestOfPass) hideAlerts_ = 2;
    if (answer.openHelp) openHelpPage(CMD_HELP_ME);
    return answer.result;
  }

  RepeatAlerts& repeats_;
  int& hideAlerts_;
};

// Alerts whose explanation is one string and whose buttons are Yes and No (or Disable).
class SimpleAlert : public AlertDialog {
 public:
  SimpleAlert(const AlertContext& context, UINT caption, UINT explanation, UINT noText, bool showsCopyright,
              int historyType, int historyAction)
      : AlertDialog(context, caption, showsCopyright),
        explanation_(explanation),
        noText_(noText),
        historyType_(historyType),
        historyAction_(historyAction) {}

 protected:
  void fillTexts() override {
    setDialogText(handle(), explanation_, IDC_EXPLANATION);
    setDialogText(handle(), IDS_BTN_YES, IDYES);
    setDialogText(handle(), noText_, IDNO);
  }
  void writeAlertHistory() override {
    if (historyAction_ < 0) return;
    const std::string name = historyType_ == typecode::kHiddenFile ? subject().name : program().version.productName;
    writeAlertRecord(name, program(), historyType_, historyAction_);
  }
  INT_PTR resultOf(int button) override {
    if (button == IDYES || button == IDCANCEL) return alert::kApprove;
    if (button == IDNO) return alert::kRefuse;
    return 0;
  }

 private:
  UINT explanation_;
  UINT noText_;
  int historyType_;
  int historyAction_;
};

class DelayedReturnedAlert : public SimpleAlert {
 public:
  explicit DelayedReturnedAlert(const AlertContext& context)
      : SimpleAlert(context, IDS_ALERT_DELAYED_CAPTION, IDS_ALERT_DELAYED_RETURNED, IDS_BTN_DISABLE, false, 0, -1) {}

 private:
  std::string nameLine() override { return program().version.productName; }
  UINT versionLabel() const override { return IDS_LABEL_VERSION_PLAIN; }
};

class NewTaskAlert : public SimpleAlert {
 public:
  explicit NewTaskAlert(const AlertContext& context)
      : SimpleAlert(context, IDS_ALERT_CAPTION, IDS_ALERT_NEW_TASK, IDS_BTN_NO, true, typecode::kScheduledTask,
                    action::kTaskAlert) {}

 private:
  std::string nameLine() override {
    char caption[260] = {};
    GetWindowTextA(handle(), caption, sizeof caption);
    return taskNameLine(subject().name, caption);
  }
};

class NewHiddenFileAlert : public SimpleAlert {
 public:
  explicit NewHiddenFileAlert(const AlertContext& context)
      : SimpleAlert(context, IDS_ALERT_CAPTION, IDS_ALERT_NEW_HIDDEN_FILE, IDS_BTN_DELETE, true,
                    typecode::kHiddenFile, action::kHiddenAlert) {}

 private:
  void fillTexts() override {
    setDialogText(handle(), IDS_ALERT_NEW_HIDDEN_FILE, IDC_EXPLANATION);
    setDialogText(handle(), IDS_BTN_DELETE, IDCANCEL);
  }
  INT_PTR resultOf(int button) override {
    if (button == IDOK) return alert::kApprove;
    if (button == IDCANCEL) return alert::kRefuse;
    return 0;
  }
};

class NewServiceAlert : public AlertDialog {
 public:
  explicit NewServiceAlert(const AlertContext& context) : AlertDialog(context, IDS_ALERT_CAPTION, false) {}

 private:
  UINT versionLabel() const override { return IDS_LABEL_VERSION_PLAIN; }

  void fillTexts() override {
    HWND w = handle();
    setDialogText(w, IDS_ALERT_NEW_SERVICE, IDC_SERVICE_INTRO);
    setFont(w, IDC_SERVICE_INTRO, fonts().path);
    std::string runState;
    serviceRunStateText(subject().name, runState);
    // By the service's key name: the display name names no registry key.
    const std::string start = loadString(static_cast<UINT>(serviceStartText(serviceStartType(subject().name))));
    SetDlgItemTextA(w, IDC_SERVICE_STATUS, fillText(loadString(IDS_ALERT_SERVICE_STATUS), {start, runState}).c_str());
    setDialogText(w, IDS_BTN_YES, IDYES);
    setDialogText(w, IDS_BTN_NO, IDNO);
  }

  INT_PTR resultOf(int button) override {
    if (button == IDYES) return alert::kApprove;
    if (button != IDNO && button != IDCANCEL) return 0;
    refuse();
    return alert::kRefuse;
  }

  void refuse() { refuseService(subject().name, subject().programPath, subject().typeCode); }
};

class FileTypeAlert : public Dialog {
 public:
  explicit FileTypeAlert(const AlertContext& context) : context_(context) {}

 private:
  struct Block {
    int icon, name, path, company, signer;
  };

  void fillBlock(const std::string& path, const Block& block, UniqueIcon& icon) {
    HWND w = handle();
    const ProgramInfo info = programInfo(path);
    setTextIfAny(w, block.path, path);
    if (info.exists) icon = showIcon(w, block.icon, info.file);
    setTextIfAny(w, block.name, info.version.productName);
    setTextIfAny(w, block.company, info.version.companyName);
    setTextIfAny(w, block.signer, info.signer);
    setFont(w, block.name, context_.fonts->title);
  }

  BOOL onInit() override {
    HWND w = handle();
    const AlertSubject& subject = *context_.subject;
    const std::string caption = loadString(IDS_ALERT_FILE_TYPE_CAPTION, 260);
    if (!caption.empty()) SetWindowTextA(w, caption.c_str());
    setFont(w, IDC_FILE_TYPE_EXTENSION, context_.fonts->extension);
    fillBlock(subject.programPath,
              {IDC_OLD_PROGRAM_ICON, IDC_OLD_PROGRAM_NAME, IDC_OLD_PROGRAM_PATH, IDC_OLD_PROGRAM_COMPANY,
               IDC_OLD_PROGRAM_SIGNER}, icons_[0]);
    fillBlock(subject.secondPath,
              {IDC_NEW_PROGRAM_ICON, IDC_NEW_PROGRAM_NAME, IDC_NEW_PROGRAM_PATH, IDC_NEW_PROGRAM_COMPANY,
               IDC_NEW_PROGRAM_SIGNER}, icons_[1]);
    setDialogText(w, IDS_ALERT_FILE_TYPE_INTRO, IDC_FILE_TYPE_INTRO);
    setDialogText(w, IDS_ALERT_FILE_TYPE_OLD, IDC_FILE_TYPE_OLD_LABEL);
    setDialogText(w, IDS_ALERT_FILE_TYPE_NEW, IDC_FILE_TYPE_NEW_LABEL);
    setDialogText(w, IDS_ALERT_FILE_TYPE_ASK, IDC_FILE_TYPE_ASK);
    SetDlgItemTextA(w, IDC_FILE_TYPE_EXTENSION, subject.name.c_str());
    setDialogText(w, IDS_BTN_INFO, IDC_OLD_PROGRAM_INFO);
    setDialogText(w, IDS_BTN_INFO, IDC_NEW_PROGRAM_INFO);
    setDialogText(w, IDS_BTN_YES, IDYES);
    setDialogText(w, IDS_BTN_NO, IDNO);
    restoreAlertPlacement(w, "Alert");
    return focusDefaultButton();
  }

  bool onCommand(int id, int, HWND) override {
    AlertSubject& subject = *context_.subject;
    if (id == IDC_OLD_PROGRAM_INFO || id == IDC_NEW_PROGRAM_INFO) {
      openOnlineInformation(subject.typeCode + 1000, id == IDC_OLD_PROGRAM_INFO ? subject.programPath : subject.secondPath,
                            subject.name);
      SetWindowPos(handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
      return true;
    }
    INT_PTR result = 0;
    if (id == IDYES || id == IDCANCEL) result = alert::kApprove;
    if (id == IDNO) result = alert::kRefuse;
    if (result == 0) return false;
    subject.clear();
    end(result);
    return true;
  }

  void onDestroy() override { saveAlertPlacement(handle(), "Alert"); }
  void onOk() override {}
  void onCancel() override {}

  AlertContext context_;
  UniqueIcon icons_[2];
};

int runAlert(Dialog& dialog, const AlertContext& context, int templateId) {
  return static_cast<int>(dialog.runModal(context.instance, templateId, context.owner));
}

}  // namespace

void saveAlertPlacement(HWND w, const std::string& name) {
  RECT r{};
  if (!GetWindowRect(w, &r)) return;
  reg::writeString(HKEY_CURRENT_USER, kPlacementKey, "xPos" + name, std::to_string(r.left));
  reg::writeString(HKEY_CURRENT_USER, kPlacementKey, "yPos" + name, std::to_string(r.top));
  reg::writeString(HKEY_CURRENT_USER, kPlacementKey, "dx" + name, std::to_string(r.right - r.left));
  reg::writeString(HKEY_CURRENT_USER, kPlacementKey, "dy" + name, std::to_string(r.bottom - r.top));
}

void restoreAlertPlacement(HWND w, const std::string& name) {
  std::string x, y;
  const bool stored = reg::readString(HKEY_CURRENT_USER, kPlacementKey, "xPos" + name, x) > 0 &&
                      reg::readString(HKEY_CURRENT_USER, kPlacementKey, "yPos" + name, y) > 0;
  RECT r{};
  GetWindowRect(w, &r);
  const AlertPlacement p =
      placeAlert(stored, static_cast<int>(leadingNumber(x)), static_cast<int>(leadingNumber(y)),
                 GetSystemMetrics(stored ? SM_CXVIRTUALSCREEN : SM_CXSCREEN),
                 GetSystemMetrics(stored ? SM_CYVIRTUALSCREEN : SM_CYSCREEN), r.right - r.left, r.bottom - r.top);
  SetWindowPos(w, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void AlertFonts::create() {
  title.reset(createFont(18, 500, false, "Arial"));
  path.reset(createFont(14, 600, false, "MS Sans Serif"));
  extension.reset(createFont(18, 600, true, "Verdana"));
  plain.reset(createFont(14, 400, false, "Arial"));
}

void AlertSubject::set(const std::string& path, const std::string& entryName, int code) {
  programPath = cut(path, kSubjectWidth);
  name = cut(entryName, kSubjectWidth);
  typeCode = code;
  secondPath.clear();
}

void AlertSubject::clear() { *this = AlertSubject{}; }

int showNewStartupAlert(const AlertContext& context, RepeatAlerts& repeats, int& hideAlerts) {
  NewStartupAlert dialog(context, repeats, hideAlerts);
  return runAlert(dialog, context, IDD_ALERT_NEW_STARTUP);
}

int showDelayedReturnedAlert(const AlertContext& context) {
  DelayedReturnedAlert dialog(context);
  return runAlert(dialog, context, IDD_ALERT_DELAYED_RETURNED);
}

int showNewIEHelperAlert(const AlertContext& context) {
  SimpleAlert dialog(context, IDS_ALERT_CAPTION, IDS_ALERT_NEW_IE_HELPER, IDS_BTN_NO, true, typecode::kBrowserHelper,
                     action::kIeHelperAlert);
  return runAlert(dialog, context, IDD_ALERT_NEW_IE_HELPER);
}

int showNewTaskAlert(const AlertContext& context) {
  NewTaskAlert dialog(context);
  return runAlert(dialog, context, IDD_ALERT_NEW_TASK);
}

int showNewHiddenFileAlert(const AlertContext& context) {
  NewHiddenFileAlert dialog(context);
  return runAlert(dialog, context, IDD_ALERT_NEW_HIDDEN_FILE);
}

int showNewServiceAlert(const AlertContext& context) {
  NewServiceAlert dialog(context);
  return runAlert(dialog, context, IDD_ALERT_NEW_SERVICE);
}

int showFileTypeAlert(const AlertContext& context) {
  FileTypeAlert dialog(context);
  return runAlert(dialog, context, IDD_ALERT_FILE_TYPE);
}

}  // namespace tavrin
