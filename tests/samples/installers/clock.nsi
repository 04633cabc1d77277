; Orvix Sample Clock: a per-machine program installed into the 64-bit
; Program Files with its keys in the 64-bit registry view. Its uninstaller
; removes only the files it installed, so the install folder stays behind
; with the log the program wrote there, and it forgets its vendor key.
!include "orvix_samples.nsh"
!include x64.nsh

!define PRODUCT "Orvix Sample Clock"
!define VERSION "2.0.1"
!define KEY "OrvixSampleClock"
!define VENDOR_KEY "Software\${PUBLISHER}\Sample Clock"

Name "${PRODUCT}"
OutFile "${OUT_DIR}/OrvixSampleClockSetup.exe"
InstallDir "$PROGRAMFILES64\${PUBLISHER}\Sample Clock"
RequestExecutionLevel admin

Page directory
Page instfiles
UninstPage instfiles

Function .onInit
  ${IfNot} ${RunningX64}
    MessageBox MB_ICONSTOP "${PRODUCT} needs a 64-bit Windows." /SD IDOK
    Abort
  ${EndIf}
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${SAMPLE_BIN}/OrvixClock.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  ; The log the program keeps beside itself, as its first start would leave it.
  FileOpen $0 "$INSTDIR\clock.log" w
  FileWrite $0 "started$\r$\n"
  FileClose $0

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\OrvixClock.exe"
  WriteRegStr HKLM "${VENDOR_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${VENDOR_KEY}" "Version" "${VERSION}"

  !insertmacro WriteUninstallEntry HKLM "${KEY}" "${PRODUCT}" "${VERSION}" "OrvixClock.exe" "clock"
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$INSTDIR\OrvixClock.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir /r "$SMPROGRAMS\${PRODUCT}"
  DeleteRegKey HKLM "${UNINSTALL_KEYS}\${KEY}"
SectionEnd
