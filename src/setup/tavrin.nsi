; Tavrin setup: installs the Monitor, the Explorer and the change watcher with
; Start-menu shortcuts and an Add/Remove Programs entry, then starts the
; Monitor. The uninstaller puts every Delayed Start program back into Windows
; startup before anything goes, and never drops disabled startup entries
; without asking.
;
; Built by CMake: makensis -DVERSION=... -DMONITOR=... -DEXPLORER=... -DOSTRUM=...
;                          -DREADME=... -DICON=... -DOUTFILE=... tavrin.nsi

Unicode false  ; ANSI like the programs, so setup runs on Windows 9x too
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SYSTEM_KEY "Software\Quennet\Tavrin"
!define DISABLED_KEY "Software\Quennet\Tavrin\Disabled"
!define DELAY_KEY "Software\Quennet\Tavrin\Delay"
!define CMD_QUIT 6030
!define STARTUP_FOLDER_TYPE 200

Name "Tavrin"
Caption "Tavrin ${VERSION} Setup"
UninstallCaption "Tavrin ${VERSION} Uninstall"
BrandingText "Tavrin ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Tavrin"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin

VIProductVersion "${VERSION}"
VIAddVersionKey "ProductName" "Tavrin"
VIAddVersionKey "CompanyName" "Quennet"
VIAddVersionKey "FileDescription" "Tavrin Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) Quennet"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_TEXT_LARGE
!define MUI_FINISHPAGE_TEXT "The Tavrin Monitor is running: its icon sits in the notification area, and it starts each time you log on.$\r$\n$\r$\nFrom now on it asks about every new program that starts without being asked."
!define MUI_FINISHPAGE_RUN "$INSTDIR\TavrinEx.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Open the Tavrin Explorer"
!define MUI_FINISHPAGE_RUN_NOTCHECKED

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

LangString StillRunning ${LANG_ENGLISH} "$R1 is still running and cannot be replaced.$\r$\n$\r$\nClose it, then choose Retry."
LangString DelayedLeft ${LANG_ENGLISH} "Some programs on the Delayed Start list could not be put back into Windows startup; without Tavrin they would no longer start.$\r$\n$\r$\nUninstall anyway?"
LangString AskRemoveSettings ${LANG_ENGLISH} "Also remove Tavrin's settings and history?$\r$\n$\r$\nChoose No to keep them for a later installation."
LangString AskRemoveDisabled ${LANG_ENGLISH} "$R0 startup program(s) are disabled by Tavrin. Their command lines and files are kept, so that a new installation can enable them again.$\r$\n$\r$\nRemove them as well? They could then never be enabled again."

; Asks a running program to quit with its own -Q switch (or the same command
; posted to its window when its file is not in the folder), waits for its
; process to end, and ends it when it stays: at once in silent mode, otherwise
; after asking the user. Push the window class, then the program's file name.
!macro STOP_PROGRAM_FUNCTION UN
Function ${UN}StopProgram
  Exch $R1
  Exch
  Exch $R0
  Push $R2
  Push $R3
  Push $R4
  Push $R5
  Push $R6
  StrCpy $R6 0  ; rounds that ended a program by force
  ${Do}
    FindWindow $R2 "$R0"
    ${If} $R2 == 0
      ${Break}
    ${EndIf}
    System::Call 'user32::GetWindowThreadProcessId(p $R2, *i .R3)'
    System::Call 'kernel32::OpenProcess(i 0x00100001, i 0, i $R3) p .R4'  ; SYNCHRONIZE | PROCESS_TERMINATE
    ${If} ${FileExists} "$INSTDIR\$R1"
      ExecWait '"$INSTDIR\$R1" -Q'
    ${Else}
      System::Call 'user32::PostMessageA(p $R2, i ${WM_COMMAND}, i ${CMD_QUIT}, i 0)'
    ${EndIf}
    StrCpy $R5 0
    ${If} $R4 != 0
      System::Call 'kernel32::WaitForSingleObject(p $R4, i 10000) i .R5'
    ${Else}
      ${For} $R3 1 50
        Sleep 200
        FindWindow $R5 "$R0"
        ${IfThen} $R5 == 0 ${|} ${Break} ${|}
      ${Next}
    ${EndIf}
    ${If} $R5 != 0
      ${If} ${Silent}
        IntOp $R6 $R6 + 1
        ${If} $R6 > 2
          System::Call 'kernel32::CloseHandle(p $R4)'
          Abort "$(StillRunning)"
        ${EndIf}
        ${If} $R4 != 0
          System::Call 'kernel32::TerminateProcess(p $R4, i 1)'
          System::Call 'kernel32::WaitForSingleObject(p $R4, i 5000)'
        ${EndIf}
      ${ElseIf} ${Cmd} `MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(StillRunning)" IDCANCEL`
        System::Call 'kernel32::CloseHandle(p $R4)'
        Abort "$(StillRunning)"
      ${EndIf}
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p $R4)'
  ${Loop}
  Pop $R6
  Pop $R5
  Pop $R4
  Pop $R3
  Pop $R2
  Pop $R0
  Pop $R1
FunctionEnd
!macroend
!insertmacro STOP_PROGRAM_FUNCTION ""
!insertmacro STOP_PROGRAM_FUNCTION "un."

!macro STOP_PROGRAMS UN
  Push "Tavrin"
  Push "Tavrin.exe"
  Call ${UN}StopProgram
  Push "TavrinEx"
  Push "TavrinEx.exe"
  Call ${UN}StopProgram
!macroend

Section "Tavrin" SecPrograms
  SectionIn RO
  SetShellVarContext all
  !insertmacro STOP_PROGRAMS ""

  SetOutPath "$INSTDIR"
  File "/oname=Tavrin.exe" "${MONITOR}"
  File "/oname=TavrinEx.exe" "${EXPLORER}"
  File "/oname=ostrum.dll" "${OSTRUM}"
  File "/oname=README.txt" "${README}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Tavrin"
  CreateShortCut "$SMPROGRAMS\Tavrin\Tavrin Explorer.lnk" "$INSTDIR\TavrinEx.exe" "" \
      "$INSTDIR\TavrinEx.exe" 0 "" "" "Lists every startup program and inventory"
  CreateShortCut "$SMPROGRAMS\Tavrin\Tavrin Monitor.lnk" "$INSTDIR\Tavrin.exe" "" \
      "$INSTDIR\Tavrin.exe" 0 "" "" "Watches for new startup programs"
  CreateShortCut "$SMPROGRAMS\Tavrin\Uninstall Tavrin.lnk" "$INSTDIR\Uninstall.exe" "" \
      "$INSTDIR\Uninstall.exe" 0 "" "" "Removes Tavrin"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tavrin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quennet"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tavrin.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0

  ; The first start registers the Monitor at logon and approves what is present.
  ; Setup ends once its window is up: a setup run right after this one finds
  ; the Monitor and stops it instead of starting a second one beside it.
  Exec '"$INSTDIR\Tavrin.exe" -NoOpen'
  ${For} $0 1 75
    FindWindow $1 "Tavrin"
    ${IfThen} $1 != 0 ${|} ${Break} ${|}
    Sleep 200
  ${Next}
SectionEnd

; The Delayed Start list of one hive is empty (no value left).
!macro DELAY_LIST_EMPTY ROOT RESULT
  ClearErrors
  EnumRegValue ${RESULT} ${ROOT} "${DELAY_KEY}" 0
  ${If} ${Errors}
    StrCpy ${RESULT} 1
  ${Else}
    StrCpy ${RESULT} 0
  ${EndIf}
!macroend

Section "Uninstall"
  SetShellVarContext all
  !insertmacro STOP_PROGRAMS "un."

  ; Programs moved to Delayed Start go back to where they started from; only
  ; the Monitor would start them otherwise.
  ${If} ${FileExists} "$INSTDIR\TavrinEx.exe"
    ExecWait '"$INSTDIR\TavrinEx.exe" -Restore'
  ${EndIf}
  !insertmacro DELAY_LIST_EMPTY HKCU $0
  !insertmacro DELAY_LIST_EMPTY HKLM $1
  ${If} $0 == 0
  ${OrIf} $1 == 0
    ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(DelayedLeft)" /SD IDNO IDNO`
      Abort "$(DelayedLeft)"
    ${EndIf}
  ${EndIf}

  DeleteRegValue HKLM "${RUN_KEY}" "Tavrin"
  DeleteRegValue HKLM "${RUN_KEY}" "TavrinMonitor"

  Delete "$SMPROGRAMS\Tavrin\Tavrin Explorer.lnk"
  Delete "$SMPROGRAMS\Tavrin\Tavrin Monitor.lnk"
  Delete "$SMPROGRAMS\Tavrin\Uninstall Tavrin.lnk"
  RMDir "$SMPROGRAMS\Tavrin"

  Delete "$INSTDIR\Tavrin.exe"
  Delete "$INSTDIR\TavrinEx.exe"
  Delete "$INSTDIR\ostrum.dll"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\Uninstall.exe"

  ${If} ${Cmd} `MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(AskRemoveSettings)" /SD IDNO IDYES`
    Call un.RemoveSettings
  ${EndIf}
  ; Only when empty: kept settings, history, notes and reports stay.
  RMDir "$INSTDIR"

  ; Last, so that its absence tells the uninstall has run to its end.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd

; Disabled entries as the Explorer lists them: copies whose marker names a
; startup type, and the files in the Disabled folder (Startup-folder entries).
Function un.CountDisabled
  Push $R1
  Push $R2
  Push $R3
  StrCpy $R0 0
  StrCpy $R1 0
  ${Do}
    ClearErrors
    EnumRegValue $R2 HKLM "${DISABLED_KEY}" $R1
    ${IfThen} ${Errors} ${|} ${Break} ${|}
    ReadRegStr $R3 HKLM "${DISABLED_KEY}" $R2
    IntOp $R3 $R3 + 0
    ${If} $R3 > 0
    ${AndIf} $R3 != ${STARTUP_FOLDER_TYPE}
      IntOp $R0 $R0 + 1
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
  FindFirst $R1 $R2 "$INSTDIR\Disabled\*.*"
  ${DoWhile} $R2 != ""
    StrCpy $R3 $R2 "" -4
    ${If} $R2 != "."
    ${AndIf} $R2 != ".."
    ${AndIf} $R3 != ".ini"
    ${AndIfNot} ${FileExists} "$INSTDIR\Disabled\$R2\*.*"
      IntOp $R0 $R0 + 1
    ${EndIf}
    FindNext $R1 $R2
  ${Loop}
  FindClose $R1
  Pop $R3
  Pop $R2
  Pop $R1
FunctionEnd

; 1 when the name on the stack holds no wildcard: a key name goes into Delete,
; where "*" would take every file of the folder.
Function un.IsPlainName
  Exch $R0
  Push $R1
  Push $R2
  StrCpy $R1 0
  ${Do}
    StrCpy $R2 $R0 1 $R1
    ${If} $R2 == ""
      StrCpy $R0 1
      ${Break}
    ${ElseIf} $R2 == "*"
    ${OrIf} $R2 == "?"
      StrCpy $R0 0
      ${Break}
    ${EndIf}
    IntOp $R1 $R1 + 1
  ${Loop}
  Pop $R2
  Pop $R1
  Exch $R0
FunctionEnd

Function un.RemoveSettings
  Push $R0
  Push $R1
  Push $R2
  Push $R3
  Call un.CountDisabled
  StrCpy $R1 1
  ${If} $R0 > 0
  ${AndIf} ${Cmd} `MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2 "$(AskRemoveDisabled)" /SD IDNO IDNO`
    StrCpy $R1 0
  ${EndIf}

  ; Kept copies of the watched system files go; quarantined files in the vault stay.
  SetShellVarContext current
  StrCpy $R0 0
  ${Do}
    ClearErrors
    EnumRegKey $R2 HKLM "${SYSTEM_KEY}\Sysfiles" $R0
    ${If} ${Errors}
    ${OrIf} $R2 == ""
      ${Break}
    ${EndIf}
    Push $R2
    Call un.IsPlainName
    Pop $R3
    ${If} $R3 == 1
      Delete "$APPDATA\Tavrin\$R2"
      Delete "$INSTDIR\$R2"  ; the data folder when there was no application-data folder
    ${EndIf}
    IntOp $R0 $R0 + 1
  ${Loop}
  RMDir "$APPDATA\Tavrin\vault"
  RMDir "$APPDATA\Tavrin"
  SetShellVarContext all

  Delete "$INSTDIR\history.txt"
  Delete "$INSTDIR\send2qn.txt"
  Delete "$INSTDIR\sendex2qn.txt"
  DeleteRegKey HKCU "${SYSTEM_KEY}"
  DeleteRegKey HKCU "Software\Quennet\Detected"
  DeleteRegKey /ifempty HKCU "Software\Quennet"

  ${If} $R1 == 1
    DeleteRegKey HKLM "${SYSTEM_KEY}"
    RMDir /r "$INSTDIR\Disabled"
  ${Else}
    ; Everything but the Disabled key.
    DeleteRegValue HKLM "${SYSTEM_KEY}" ""
    ${Do}
      ClearErrors
      EnumRegValue $R2 HKLM "${SYSTEM_KEY}" 0
      ${IfThen} ${Errors} ${|} ${Break} ${|}
      DeleteRegValue HKLM "${SYSTEM_KEY}" $R2
    ${Loop}
    StrCpy $R0 0
    ${Do}
      ClearErrors
      EnumRegKey $R2 HKLM "${SYSTEM_KEY}" $R0
      ${If} ${Errors}
      ${OrIf} $R2 == ""
        ${Break}
      ${EndIf}
      ${If} $R2 == "Disabled"
        IntOp $R0 $R0 + 1
      ${Else}
        DeleteRegKey HKLM "${SYSTEM_KEY}\$R2"
      ${EndIf}
    ${Loop}
  ${EndIf}
  DeleteRegKey /ifempty HKLM "Software\Quennet"
  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
FunctionEnd
