; Orvix Sample Notes: a per-machine 32-bit program. Its uninstaller forgets
; what many real ones forget: the user's data (a folder in the roaming
; application data and a key under HKCU\Software\Orvix Samples), the Run
; value, the desktop shortcut and the COM server's registration.
!include "orvix_samples.nsh"

!define PRODUCT "Orvix Sample Notes"
!define VERSION "1.4.2"
!define KEY "OrvixSampleNotes"
!define VENDOR_KEY "Software\${PUBLISHER}\Sample Notes"
!define APP_PATHS_KEY "Software\Microsoft\Windows\CurrentVersion\App Paths\OrvixNotes.exe"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUT_DIR}/OrvixSampleNotesSetup.exe"
InstallDir "$PROGRAMFILES\${PUBLISHER}\Sample Notes"
RequestExecutionLevel admin

Page directory
Page instfiles
UninstPage instfiles

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SAMPLE_BIN}/OrvixNotes.exe"
  File "${SAMPLE_BIN}/OrvixNotesShell.dll"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\OrvixNotesShell.dll"'

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\OrvixNotes.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\uninstall.exe"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\OrvixNotes.exe"

  WriteRegStr HKLM "${RUN_KEY}" "${KEY}" '"$INSTDIR\OrvixNotes.exe" /tray'
  WriteRegStr HKLM "${APP_PATHS_KEY}" "" "$INSTDIR\OrvixNotes.exe"
  WriteRegStr HKLM "${APP_PATHS_KEY}" "Path" "$INSTDIR"
  WriteRegStr HKLM "${VENDOR_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${VENDOR_KEY}" "Version" "${VERSION}"

  ; The user's data, as the program's first start would leave it.
  SetShellVarContext current
  CreateDirectory "$APPDATA\${PUBLISHER}\Sample Notes"
  WriteINIStr "$APPDATA\${PUBLISHER}\Sample Notes\notes.ini" "Window" "Width" "640"
  WriteINIStr "$APPDATA\${PUBLISHER}\Sample Notes\notes.ini" "Window" "Height" "480"
  WriteRegStr HKCU "${VENDOR_KEY}" "LastNote" "$APPDATA\${PUBLISHER}\Sample Notes\first.txt"
  WriteRegDWORD HKCU "${VENDOR_KEY}" "StartCount" 1
  SetShellVarContext all

  !insertmacro WriteUninstallEntry HKLM "${KEY}" "${PRODUCT}" "${VERSION}" "OrvixNotes.exe" "notes"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\OrvixNotes.exe"
  Delete "$INSTDIR\OrvixNotesShell.dll"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES\${PUBLISHER}"
  RMDir /r "$SMPROGRAMS\${PRODUCT}"

  DeleteRegKey HKLM "${APP_PATHS_KEY}"
  DeleteRegKey HKLM "${VENDOR_KEY}"
  DeleteRegKey /ifempty HKLM "Software\${PUBLISHER}"
  DeleteRegKey HKLM "${UNINSTALL_KEYS}\${KEY}"
SectionEnd
