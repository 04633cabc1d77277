; Orvix Sample Sketch: a per-user program, installed without administrator
; rights into the user's local Programs folder, with its Uninstall entry
; under HKEY_CURRENT_USER. Its uninstaller removes everything it made.
!include "orvix_samples.nsh"

!define PRODUCT "Orvix Sample Sketch"
!define VERSION "0.9"
!define KEY "OrvixSampleSketch"
!define VENDOR_KEY "Software\${PUBLISHER}\Sample Sketch"

Name "${PRODUCT}"
OutFile "${OUT_DIR}/OrvixSampleSketchSetup.exe"
InstallDir "$LOCALAPPDATA\Programs\${PUBLISHER}\Sample Sketch"
RequestExecutionLevel user

Page directory
Page instfiles
UninstPage instfiles

Section
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File "${SAMPLE_BIN}/OrvixSketch.exe"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\OrvixSketch.exe"
  WriteRegStr HKCU "${VENDOR_KEY}" "InstallDir" "$INSTDIR"
  !insertmacro WriteUninstallEntry HKCU "${KEY}" "${PRODUCT}" "${VERSION}" "OrvixSketch.exe" "sketch"
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$INSTDIR\OrvixSketch.exe"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  RMDir "$LOCALAPPDATA\Programs\${PUBLISHER}"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${VENDOR_KEY}"
  DeleteRegKey /ifempty HKCU "Software\${PUBLISHER}"
  DeleteRegKey HKCU "${UNINSTALL_KEYS}\${KEY}"
SectionEnd
